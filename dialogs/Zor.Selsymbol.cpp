#include "Zor.Selsymbol.h"

#include "Zor.DialogService.h"
#include "Zor.Forms.h"
#include "Zor.Msg.h"
#include "Zor.Viewlibrary.h"
#include "label/Zor.Vcl.h"

#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <algorithm>
#include <array>

using zor::TAlphaColor;

namespace {

// The symbols of the units, by TZORUnits.
constexpr std::array<const char*, 7> UnitSymbols = { "mm", "in", "cm", "dm", "m", "ft", "yd" };

QString UnitSymbol(TZORUnits unit)
{
    const size_t i = zor::Ord(unit);
    return i < UnitSymbols.size() ? QString::fromLatin1(UnitSymbols[i]) : QString();
}

QString CurDrawing()
{
    return TZORMsg::GetDialogsValue(QStringLiteral("CurDrawing"));
}

} // namespace

TfSelSymbol::TfSelSymbol(QWidget* parent)
    : QDialog(parent)
    , tvCategory(new QTreeWidget(this))
    , labName(new QLabel(this))
    , labUnits(new QLabel(this))
    , labNote(new QLabel(this))
    , ZORViewLibrary(new TZORViewLibrary(this))
{
    setObjectName(QStringLiteral("fSelSymbol"));
    tvCategory->setObjectName(QStringLiteral("tvCategory"));
    tvCategory->setHeaderHidden(true);
    tvCategory->setIndentation(19);
    labName->setObjectName(QStringLiteral("labName"));
    labUnits->setObjectName(QStringLiteral("labUnits"));
    labNote->setObjectName(QStringLiteral("labNote"));
    labName->setAlignment(Qt::AlignCenter);
    labName->setWordWrap(true);
    labUnits->setAlignment(Qt::AlignCenter);
    labNote->setWordWrap(true);
    ZORViewLibrary->setCursor(Qt::PointingHandCursor);
    ZORViewLibrary->SetColor(TAlphaColor { 0xFFD8D8D8 });
    ZORViewLibrary->SetSymbolWidth(120);
    ZORViewLibrary->SetSymbolHeight(100);
    ZORViewLibrary->OnChangePos = [this](TZORViewLibrary&, const QString& name, const QString& note,
                                      TZORUnits unit) { ZORViewLibraryChangePos(name, note, unit); };

    QDialogButtonBox* buttons = zor::AddOkCancel(*this, QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &TfSelSymbol::butOKClick);
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("gridCategories"));
    panel->setFixedWidth(240);
    auto* grid = new QGridLayout(panel);
    grid->addWidget(tvCategory, 0, 0, 1, 2);
    grid->addWidget(labName, 1, 0);
    grid->addWidget(labUnits, 1, 1);
    grid->addWidget(labNote, 2, 0, 1, 2);
    grid->addWidget(buttons, 3, 0, 1, 2);
    grid->setRowStretch(0, 1);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(panel);
    layout->addWidget(ZORViewLibrary, 1);
    resize(798, 511);

    connect(tvCategory, &QTreeWidget::currentItemChanged, this,
        [this](QTreeWidgetItem* node) { tvCategoryChange(node); });
}

void TfSelSymbol::FillLanguage()
{
    setWindowTitle(zor::FormCaption(TZORMsg::GetDialogsValue(QStringLiteral("SymbolLib"))));
    zor::FillOkCancel(*this);
}

void TfSelSymbol::Ini(TZORLabelVCL& label, const QString& folder, const QString& lastCat)
{
    fLabel = &label;
    FillLanguage();
    // The viewer lays its grid out for the size it has when the symbols load.
    layout()->activate();
    fIndex = -2;
    ZORViewLibrary->SetQuindle(&label);
    listCategories.clear();
    const QDir dir(folder);
    if (folder.isEmpty() || !dir.exists()) {
        zor::DialogService().Message(this, QMessageBox::Critical, windowTitle().trimmed(),
            QStringLiteral("Incorrect path or search mask"), QMessageBox::Ok, QMessageBox::Ok);
        return;
    }
    for (const QFileInfo& file : dir.entryInfoList({ QStringLiteral("*.lyp") }, QDir::Files)) {
        const QString path = file.absoluteFilePath();
        const QString categories = TZORViewLibrary::GetCatList(path);
        if (label.ReadSymFile(path))
            listCategories.emplace_back(path, categories.split(QLatin1Char('\n'), Qt::SkipEmptyParts));
    }
    std::stable_sort(listCategories.begin(), listCategories.end(),
        [](const auto& a, const auto& b) { return a.first.compare(b.first, Qt::CaseInsensitive) < 0; });
    FillTree(lastCat);
}

QTreeWidgetItem* TfSelSymbol::AddNode(QTreeWidgetItem* parent, const QString& text, int file)
{
    auto* node = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tvCategory);
    node->setText(0, text);
    node->setData(0, FileRole, file);
    node->setData(0, IdRole, file == OwnSymbols ? OwnSymbols : ++fNodeCount);
    return node;
}

QTreeWidgetItem* TfSelSymbol::FindNode(const QString& text, int file) const
{
    const QString& path = listCategories[size_t(file)].first;
    for (QTreeWidgetItemIterator it(tvCategory); *it; ++it) {
        const int at = (*it)->data(0, FileRole).toInt();
        if (at != OwnSymbols && (*it)->text(0).compare(text, Qt::CaseInsensitive) == 0
            && listCategories[size_t(at)].first.compare(path, Qt::CaseInsensitive) == 0)
            return *it;
    }
    return nullptr;
}

void TfSelSymbol::FillTree(const QString& lastCat)
{
    fReading = true;
    tvCategory->clear();
    fNodeCount = 0;
    QTreeWidgetItem* remembered = nullptr;
    const auto isLast = [&lastCat](const QString& text) {
        return !lastCat.isEmpty() && text.compare(lastCat, Qt::CaseInsensitive) == 0;
    };
    if (fLabel && fLabel->GetSymbolsCount() > 0)
        AddNode(nullptr, CurDrawing(), OwnSymbols);
    for (int file = 0; file < int(listCategories.size()); ++file) {
        for (const QString& category : listCategories[size_t(file)].second) {
            const QStringList pieces = category.split(QLatin1Char('/'));
            QTreeWidgetItem* node = FindNode(pieces.front(), file);
            if (!node) {
                node = AddNode(nullptr, pieces.front(), file);
                if (pieces.size() == 1 && isLast(pieces.front()))
                    remembered = node;
            }
            for (qsizetype p = 1; p < pieces.size(); ++p) {
                node = AddNode(node, pieces[p], file);
                if (isLast(pieces[p]))
                    remembered = node;
            }
        }
    }
    fReading = false;
    if (tvCategory->topLevelItemCount() > 0) {
        QTreeWidgetItem* chosen = remembered ? remembered : tvCategory->topLevelItem(0);
        tvCategory->setCurrentItem(chosen);
        tvCategoryChange(chosen);
    }
}

void TfSelSymbol::tvCategoryChange(QTreeWidgetItem* node)
{
    if (fReading || !node || node->data(0, IdRole).toInt() == fIndex)
        return;
    fIndex = node->data(0, IdRole).toInt();
    const int file = node->data(0, FileRole).toInt();
    if (file == OwnSymbols) {
        ZORViewLibrary->LoadSymbols(CurDrawing(), QStringLiteral("*"));
        return;
    }
    fLastFile = listCategories[size_t(file)].first;
    fLastCat = node->text(0);
    QString path = node->text(0);
    for (QTreeWidgetItem* up = node->parent(); up; up = up->parent())
        path = up->text(0) + QLatin1Char('/') + path;
    ZORViewLibrary->LoadSymbols(fLastFile, path);
}

void TfSelSymbol::ZORViewLibraryChangePos(const QString& name, const QString& note, TZORUnits unit)
{
    labName->setText(name);
    labUnits->setText(name.isEmpty() ? QString() : UnitSymbol(unit));
    labNote->setText(name.isEmpty() ? QString() : note);
}

void TfSelSymbol::butOKClick()
{
    done(ZORViewLibrary->IdSelection() >= 1 ? QDialog::Accepted : QDialog::Rejected);
}

std::unique_ptr<TZORLibSymbol> TfSelSymbol::GetSelection() const
{
    return ZORViewLibrary->GetSelection();
}
