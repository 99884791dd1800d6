// Running the velta-replay program itself from a test.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>
#include <utility>

// Runs velta-replay with its arguments; its output (stdout and stderr) and exit status.
inline std::pair<std::string, int> runReplayProgram(const std::string& arguments) {
    const std::string command = std::string(VELTA_REPLAY_BINARY) + " " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    std::string output;
    char chunk[256];
    while (pipe && std::fgets(chunk, sizeof chunk, pipe))
        output += chunk;
    const int status = pipe ? pclose(pipe) : -1;
    return {output, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}
