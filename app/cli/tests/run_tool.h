#pragma once
// Runs a built program as a person runs it, in a folder of its own, and keeps what it printed
// and answered.

#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "storage/testing/demo_database.h"

namespace condpag {

struct Outcome {
    int exit_code = -1;
    std::string out;
    std::string err;
};

inline std::string shell_quoted(const std::string& arg) {
    std::string quoted = "'";
    for (char c : arg) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

inline Outcome run_program(const std::string& program, const std::vector<std::string>& args,
                           const testing::TempFolder& folder) {
    const std::string err_file = folder.path() + "/stderr.txt";
    std::string command = "cd " + shell_quoted(folder.path()) + " && " + shell_quoted(program);
    // Appended piece by piece: g++ 12 at -O3 takes " " + temporary for an overlapping copy.
    for (const std::string& arg : args) {
        command += ' ';
        command += shell_quoted(arg);
    }
    command += " 2>";
    command += shell_quoted(err_file);
    Outcome run;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return run;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        run.out.append(buffer, n);
    const int status = pclose(pipe);
    if (WIFEXITED(status)) run.exit_code = WEXITSTATUS(status);
    std::ostringstream err;
    err << std::ifstream(err_file).rdbuf();
    run.err = err.str();
    return run;
}

#ifdef CONDPAG_CLI
inline Outcome run(const std::vector<std::string>& args, const testing::TempFolder& folder) {
    return run_program(CONDPAG_CLI, args, folder);
}
#endif

inline std::string contents(const std::string& path) {
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

}  // namespace condpag
