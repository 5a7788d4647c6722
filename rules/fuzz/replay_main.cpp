// Feeds the fuzz entry every file under the folders (or the files) named on the command line, so
// the seed corpus and every input that once crashed run with the regular tests, with any
// compiler and without libFuzzer. The input's name is printed before it runs: a crash names it.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    std::vector<fs::path> inputs;
    for (int i = 1; i < argc; ++i) {
        const fs::path named(argv[i]);
        if (!fs::is_directory(named)) {
            inputs.push_back(named);
            continue;
        }
        for (const auto& entry : fs::recursive_directory_iterator(named)) {
            if (entry.is_regular_file()) inputs.push_back(entry.path());
        }
    }
    if (inputs.empty()) {
        std::cerr << "no inputs\n";
        return 1;
    }
    std::sort(inputs.begin(), inputs.end());
    for (const fs::path& path : inputs) {
        std::ifstream file(path, std::ios::binary);
        if (!file) {
            std::cerr << "cannot read " << path << '\n';
            return 1;
        }
        const std::string bytes{std::istreambuf_iterator<char>(file), {}};
        std::cout << path.filename().string() << std::endl;
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    }
    std::cout << inputs.size() << " inputs\n";
    return 0;
}
