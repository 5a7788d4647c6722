#pragma once
// Runs a built program as a person runs it, in a folder of its own, and keeps what it printed
// and answered.

#include <sys/wait.h>

#include <cstdlib>
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

inline std::string contents(const std::string& path) {
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

inline std::string shell_quoted(const std::string& arg) {
    std::string quoted = "'";
    for (char c : arg) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

inline Outcome run_program(const std::string& program, const std::vector<std::string>& args,
                           const testing::TempFolder& folder) {
    const std::string out_file = folder.path() + "/stdout.txt";
    const std::string err_file = folder.path() + "/stderr.txt";
    std::string command = "cd " + shell_quoted(folder.path()) + " && " + shell_quoted(program);
    // Appended piece by piece: g++ 12 at -O3 takes " " + temporary for an overlapping copy.
    for (const std::string& arg : args) {
        command += ' ';
        command += shell_quoted(arg);
    }
    command += " >";
    command += shell_quoted(out_file);
    command += " 2>";
    command += shell_quoted(err_file);
    Outcome run;
    const int status = std::system(command.c_str());
    if (status != -1 && WIFEXITED(status)) run.exit_code = WEXITSTATUS(status);
    run.out = contents(out_file);
    run.err = contents(err_file);
    return run;
}

#ifdef CONDPAG_CLI
inline Outcome run(const std::vector<std::string>& args, const testing::TempFolder& folder) {
    return run_program(CONDPAG_CLI, args, folder);
}
#endif

}  // namespace condpag
