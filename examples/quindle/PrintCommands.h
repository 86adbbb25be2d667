#pragma once

#include <QString>
#include <QStringList>

class TZORLabelVCL;

// The tool's printing, in a module of its own (quindle_print_command) that the tool loads only
// for the print commands: exporting never loads Qt Print Support or Qt Widgets.
namespace zor::tool {

struct TPrintCommands {
    // The printers, sorted by name (zor::PrinterNames).
    QStringList (*printers)();
    // Prints the prepared run of label on the printer of its print information's index; false
    // when the printer did not take the job.
    bool (*print)(TZORLabelVCL& label);
};

// The module's file name and the function that hands out its commands.
inline constexpr const char* PrintModuleName = "libquindle_print_command.so";
inline constexpr const char* PrintCommandsSymbol = "quindle_print_commands";
using TPrintCommandsEntry = const TPrintCommands* (*)();

} // namespace zor::tool
