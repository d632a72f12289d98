// The commands of lerv. Each adds its subcommand and returns what runs when
// it was chosen: the program's exit code, or a Failure thrown.
#pragma once

#include <functional>

#include <CLI/CLI.hpp>

namespace lerv {

using Action = std::function<int()>;

Action AddGenCommand(CLI::App& app);
Action AddCreateCommand(CLI::App& app);
Action AddRunCommand(CLI::App& app);
Action AddExportCommand(CLI::App& app);
Action AddImportCommand(CLI::App& app);
Action AddWalkCommand(CLI::App& app);
Action AddShowCommand(CLI::App& app);
Action AddCheckCommand(CLI::App& app);

}  // namespace lerv
