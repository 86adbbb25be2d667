#include "PrintCommands.h"

#include "label/Zor.Vcl.Print.h"
#include "label/Zor.Vcl.h"

namespace {

bool Print(TZORLabelVCL& label)
{
    label.ResetPrinter();
    label.Print();
    label.WaitForPrint();
    return label.GetLastPrintStatus() == TZORPrintStatus::Printed;
}

const zor::tool::TPrintCommands Commands { zor::PrinterNames, Print };

} // namespace

extern "C" __attribute__((visibility("default"))) const zor::tool::TPrintCommands* quindle_print_commands()
{
    return &Commands;
}
