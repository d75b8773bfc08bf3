// The commands of fudeline-cli. Each command file adds its subcommand, with
// its options, to the application and returns what to run once parsed, so a
// new command is a new file plus one line in main.cpp.
#pragma once

#include <functional>

#include <CLI/CLI.hpp>

namespace fudeline::cli {

struct Command {
    CLI::App* subcommand = nullptr;
    std::function<int()> run;  // the process exit status
};

Command AddConvertCommand(CLI::App& app);
Command AddReplayCommand(CLI::App& app);
Command AddCatalogueCommand(CLI::App& app);
Command AddTraceCommand(CLI::App& app);
Command AddRenderCommand(CLI::App& app);
Command AddPagesCommand(CLI::App& app);

}  // namespace fudeline::cli
