#include "Zor.PrintInfo.h"

using zor::Field;

const TZORFields<TZORPrintInfo>& TZORPrintInfo::Fields()
{
    using P = TZORPrintInfo;
    static const TZORFields<P> fields {
        Field<P, &P::fPrinterIndex>("PrinterIndex"),
        Field<P, &P::fCopies>("Copies"),
        Field<P, &P::fLabs>("Labs"),
        Field<P, &P::fFirstRow>("FirstRow"),
        Field<P, &P::fFirstCol>("FirstCol"),
        Field<P, &P::fRepetition>("Repetition"),
        Field<P, &P::fByRows>("ByRows"),
        Field<P, &P::fSheetCopies>("SheetCopies"),
    };
    return fields;
}
