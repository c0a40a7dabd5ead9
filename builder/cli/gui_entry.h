// The multiple-document builder, started by corvix without a subcommand.
#pragma once

namespace vandrel::builder::cli {

// Runs the graphical builder with the program's command line; returns the exit status.
int runGui(int argc, char** argv);

}  // namespace vandrel::builder::cli
