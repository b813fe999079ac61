#pragma once

#include "support/filecontents.h"
#include "support/tempfolder.h"

#include <sys/wait.h>

#include <cstdlib>
#include <string>

namespace quorix::cli {

struct Outcome {
    int status = -1;
    std::string out, err;
};

// Runs the real program in `folder` with a shell command line of arguments.
inline Outcome Program(const testing::TempFolder& folder, const std::string& arguments) {
    const testing::TempFolder streams; // outside `folder`, which must hold only what the program leaves
    const auto out = streams.Path() / "stdout", err = streams.Path() / "stderr";
    const std::string command = "cd '" + folder.Path().string() + "' && '" QUORIX_SEARCH "' " + arguments +
                                " >'" + out.string() + "' 2>'" + err.string() + "'";
    const int wait = std::system(command.c_str());
    return {WIFEXITED(wait) ? WEXITSTATUS(wait) : -1, testing::Contents(out), testing::Contents(err)};
}

} // namespace quorix::cli
