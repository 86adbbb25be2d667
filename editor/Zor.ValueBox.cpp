#include "Zor.ValueBox.h"

#include <QFontMetricsF>
#include <QLocale>
#include <QPainter>

#include <cmath>

namespace {

// The widest value the box is made for.
const QString SampleText = QStringLiteral("@8888888,8888888");

// A number in the label's unit as typed: "." is the decimal separator whatever the locale.
std::optional<double> ReadNumber(const QString& s)
{
    bool ok = false;
    const double v = QLocale::c().toDouble(s, &ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

} // namespace

// --- The typed text ---

bool TZORValueInput::Type(QChar c)
{
    const bool once = c == u',' || c == u'@' || c == u'<';
    bool accepted = c.isDigit() && c.unicode() < 128;
    accepted = accepted || c == u'.' || (once && !fText.contains(c));
    if (c == u'-') {
        // A sign starts a number: at the front, or after the comma or the at sign.
        const QChar before = fCaret > 0 ? fText.at(fCaret - 1) : QChar();
        const QChar after = fCaret < fText.size() ? fText.at(fCaret) : QChar();
        accepted = (fCaret == 0 || before == u',' || before == u'@') && after != u'-';
    }
    if (!accepted)
        return false;
    fText.insert(fCaret, c);
    ++fCaret;
    return true;
}

bool TZORValueInput::Left()
{
    if (fText.isEmpty() || fCaret <= 0)
        return false;
    --fCaret;
    return true;
}

bool TZORValueInput::Right()
{
    if (fText.isEmpty() || fCaret >= fText.size())
        return false;
    ++fCaret;
    return true;
}

bool TZORValueInput::Backspace()
{
    if (fText.isEmpty() || fCaret <= 0)
        return false;
    fText.remove(fCaret - 1, 1);
    --fCaret;
    return true;
}

bool TZORValueInput::Delete()
{
    if (fText.isEmpty() || fCaret >= fText.size())
        return false;
    fText.remove(fCaret, 1);
    return true;
}

void TZORValueInput::Clear()
{
    fText.clear();
    fCaret = 0;
}

TZORValueInput::TResult TZORValueInput::Evaluate(const TBaseMM& baseMM, const std::optional<TZORPto>& last)
{
    using TKind = TResult::TKind;
    const qsizetype comma = fText.indexOf(u',');
    fCaret = int32_t(std::max<qsizetype>(comma, 0));
    TResult r;
    if (fText == u"@") {
        if (last)
            r = { TKind::Point, *last, 0 };
        return r;
    }
    const bool relative = fText.startsWith(u'@');
    const QString body = relative ? fText.mid(1) : fText;
    if (comma < 0) {
        if (relative)
            return r;
        if (const auto v = ReadNumber(body))
            r = { TKind::Length, {}, baseMM(*v) };
        return r;
    }
    const qsizetype split = body.indexOf(u',');
    const auto a = ReadNumber(body.left(split));
    const auto b = ReadNumber(body.mid(split + 1));
    if (!a || !b)
        return r;
    TZORPto p { baseMM(*a), baseMM(*b) };
    if (relative && last)
        p = { last->X + p.X, last->Y + p.Y };
    return { TKind::Point, p, 0 };
}

// --- The box ---

TZORValueBox::TZORValueBox(QWidget* surface)
    : QWidget(surface)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    hide();
}

void TZORValueBox::PrepareInput(int32_t dpiY)
{
    fFont = QFont(QStringLiteral("Verdana"));
    fFont.setPixelSize(std::max(1, int(std::lround(15.0 * dpiY / 96.0))));
    const QFontMetricsF fm(fFont);
    const double w = fm.horizontalAdvance(SampleText);
    const double h = fm.ascent() + fm.descent() + 4;
    const QWidget* surface = parentWidget();
    setGeometry(int(std::lround(surface->width() / 2.0 - w / 2.0)), 2, int(std::ceil(w)), int(std::ceil(h)));
    show();
    raise();
}

void TZORValueBox::DrawInput(int32_t dpiY)
{
    if (isVisible())
        update();
    else
        PrepareInput(dpiY);
}

void TZORValueBox::Close()
{
    fInput.Clear();
    hide();
}

void TZORValueBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), Qt::white);
    painter.setFont(fFont);
    const QFontMetricsF fm(fFont);
    const QString& text = fInput.Text();
    // The text is centred in the box; a text wider than the sample runs over its edges.
    const double px = width() / 2.0 - fm.horizontalAdvance(text) / 2.0;
    painter.setPen(Qt::black);
    painter.drawText(QPointF(px, fm.ascent() + 2), text);
    const double caret = fInput.Caret() == 0 ? 0.0 : fm.horizontalAdvance(text.left(fInput.Caret()));
    painter.setPen(QPen(Qt::red, 1.0));
    painter.drawLine(QPointF(px + caret + 1, 2), QPointF(px + caret + 1, height() - 2));
}
