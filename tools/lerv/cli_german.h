// The argument parser in German: help texts, group names and the messages
// for wrong usage.
#pragma once

#include <string>

#include <CLI/CLI.hpp>

namespace lerv {

// Labels and groups of app and the subcommands added later; -h/--help.
void MakeGerman(CLI::App& app);
// A subcommand with the German defaults of its parent.
CLI::App* AddCommand(CLI::App& app, const std::string& name, const std::string& description);
// The arguments several commands share.
void AddDefinitionArgument(CLI::App* command, std::string* path);
void AddOutputOption(CLI::App* command, std::string* path);
// --encoding codepage|utf-8 of export lines.
CLI::Option* AddEncodingOption(CLI::App* command, std::string* encoding);

// A check for numbers of 0 and above, with a German message.
CLI::Validator NotNegative();

// The German message for a usage error the parser reported.
std::string UsageMessage(const CLI::ParseError& error);

}  // namespace lerv
