// A host that has names of its own, the short ones a drawing or form program is likely
// to use, declared before and after the library's headers: the library's helper types live in
// namespace zor, so none of them clashes and the host builds and runs.

class TFont {
public:
    int size = 9;
};
struct TColor {
    unsigned rgb = 0;
};
class TCanvas;
struct TNode {
    int id = 0;
};
enum TBrushStyle { bsHost };

#include "dialogs/Zor.Vcl.Component.h"
#include "editor/Zor.Vcl.Editor.h"
#include "elements/text/Zor.Vcl.Text.h"
#include "inspector/Zor.Inspector.h"
#include "label/Zor.Vcl.Shared.Factory.h"
#include "label/Zor.Vcl.h"
#include "rtl/Zor.Json.h"
#include "rtl/Zor.Types.h"
#include "rtl/Zor.Utils.h"

#include <QApplication>

class TJsonObject {
public:
    int fields = 0;
};
class TBrush {
public:
    TBrushStyle style = bsHost;
};
struct TConnection {
    TNode from, to;
};
class TSlot { };
class TCanvas {
public:
    TFont font;
    TBrush brush;
};
int Round(double value)
{
    return static_cast<int>(value + 0.5);
}

// The host's own types and the library's label, side by side in one program.
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    TCanvas canvas;
    TColor color { 0x0000ff };
    TConnection link { { 1 }, { 2 } };
    TJsonObject json;
    TSlot slot;
    (void)slot;
    TZORLabelVCL label;
    TZORFactory::AddText(label, 10, 10)->SetText(QStringLiteral("Host"));
    const bool hostIntact = canvas.font.size == 9 && color.rgb == 0xff && link.to.id == 2 && json.fields == 0
        && canvas.brush.style == bsHost && Round(1.4) == 1;
    return hostIntact && label.GetItemsCount() == 1 ? 0 : 1;
}
