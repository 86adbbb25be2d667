#include "Zor.Selmap.h"

#include "Zor.DialogService.h"
#include "Zor.Error.h"
#include "Zor.Forms.h"
#include "Zor.Geocoding.h"
#include "Zor.Msg.h"
#include "label/Zor.Vcl.DialogHelpers.h"
#include "label/Zor.Vcl.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>

namespace {

constexpr int DefaultZoom = 15;

using zor::Dialogs;

} // namespace

TfSelMap::TfSelMap(QWidget* parent)
    : QDialog(parent)
    , cbMapProvider(new QComboBox(this))
    , cbZoom(new QComboBox(this))
    , edLatitude(new QLineEdit(this))
    , edLongitude(new QLineEdit(this))
    , ckShowCenter(new QCheckBox(this))
    , edLocation(new QLineEdit(this))
    , butSearch(new QPushButton(this))
    , rbNominatim(new QRadioButton(QStringLiteral("Nominatim"), this))
    , rbGoogle(new QRadioButton(QStringLiteral("Google"), this))
    , butGetMap(new QPushButton(this))
    , ckAsignScale(new QCheckBox(this))
{
    setObjectName(QStringLiteral("TfSelMap"));
    const std::pair<QWidget*, const char*> names[]
        = { { cbMapProvider, "cbMapProvider" }, { cbZoom, "cbZoom" }, { edLatitude, "edLatitude" },
              { edLongitude, "edLongitude" }, { ckShowCenter, "ckShowCenter" }, { edLocation, "edLocation" },
              { butSearch, "butSearch" }, { rbNominatim, "rbNominatim" }, { rbGoogle, "rbGoogle" },
              { butGetMap, "butGetMap" }, { ckAsignScale, "ckAsignScale" } };
    for (const auto& [widget, name] : names)
        widget->setObjectName(QString::fromLatin1(name));
    for (int level = 0; level <= TZORMapping::MaxZoom; ++level)
        cbZoom->addItem(QString());
    rbNominatim->setChecked(true);
    butSearch->setAutoDefault(false);
    butGetMap->setAutoDefault(false);

    auto* group = new QGroupBox(this);
    group->setObjectName(QStringLiteral("RGLoc"));
    auto* groupLayout = new QHBoxLayout(group);
    groupLayout->addWidget(rbNominatim);
    groupLayout->addWidget(rbGoogle);
    QDialogButtonBox* buttons = zor::AddOkCancel(*this, QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    butOK = buttons->button(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(butSearch, &QPushButton::clicked, this, &TfSelMap::butSearchClick);
    connect(edLocation, &QLineEdit::returnPressed, this, &TfSelMap::butSearchClick);
    connect(butGetMap, &QPushButton::clicked, this, &TfSelMap::butGetMapClick);

    auto* layout = new QGridLayout(this);
    const auto caption = [this](const char* name) {
        auto* label = new QLabel(this);
        label->setObjectName(QString::fromLatin1(name));
        return label;
    };
    layout->addWidget(caption("labProvider"), 0, 0);
    layout->addWidget(cbMapProvider, 0, 1, 1, 2);
    layout->addWidget(caption("labZoom"), 1, 0);
    layout->addWidget(cbZoom, 1, 1);
    layout->addWidget(ckShowCenter, 1, 2);
    layout->addWidget(caption("labLatitude"), 2, 0);
    layout->addWidget(edLatitude, 2, 1);
    layout->addWidget(caption("labLongitude"), 3, 0);
    layout->addWidget(edLongitude, 3, 1);
    layout->addWidget(edLocation, 4, 0, 1, 2);
    layout->addWidget(butSearch, 4, 2);
    layout->addWidget(group, 5, 0, 1, 3);
    layout->addWidget(butGetMap, 6, 0);
    layout->addWidget(ckAsignScale, 6, 1, 1, 2);
    layout->addWidget(buttons, 7, 0, 1, 3);
    resize(390, 248);
}

TfSelMap::~TfSelMap()
{
    if (fLabel && fHooked)
        fLabel->OnComposeImage = fPrevious;
}

QString TfSelMap::CoordinateText(double value, int decimals)
{
    return QString::number(value, 'f', decimals).replace(QLatin1Char('.'), QLatin1Char(','));
}

void TfSelMap::FillLanguage()
{
    setWindowTitle(zor::FormCaption(zor::Dialogs("SelMap")));
    zor::FillOkCancel(*this);
    findChild<QLabel*>(QStringLiteral("labProvider"))->setText(zor::Dialogs("MapProv"));
    findChild<QLabel*>(QStringLiteral("labZoom"))->setText(TZORMsg::GetEditorValue(QStringLiteral("Zoom")));
    findChild<QLabel*>(QStringLiteral("labLatitude"))
        ->setText(TZORMsg::GetPropValue(QStringLiteral("Latitude")));
    findChild<QLabel*>(QStringLiteral("labLongitude"))
        ->setText(TZORMsg::GetPropValue(QStringLiteral("Longitude")));
    butGetMap->setText(zor::Dialogs("GepMap"));
    for (int level = 0; level < cbZoom->count(); ++level)
        cbZoom->setItemText(level, zor::Dialogs("Level") + QStringLiteral(" %1").arg(level));
    cbZoom->setCurrentIndex(DefaultZoom);
    ckShowCenter->setText(zor::Dialogs("ShowCenter"));
    ckAsignScale->setText(zor::Dialogs("AssignScale"));
    butSearch->setText(zor::Dialogs("Search"));
    edLocation->setToolTip(zor::Dialogs("SearchLoc"));
    findChild<QGroupBox*>(QStringLiteral("RGLoc"))->setTitle(zor::Dialogs("LocService"));
    rbNominatim->setChecked(true);
}

void TfSelMap::FillProviders()
{
    const TZORMapping& map = fLabel->Mapping();
    cbMapProvider->clear();
    for (int32_t p = 0; p < TZORMapping::ProviderCount; ++p)
        if (map.GetProviders() & (1u << p)) {
            cbMapProvider->addItem(TZORMapping::ProviderName(p), p);
            if (p == map.GetProvider())
                cbMapProvider->setCurrentIndex(cbMapProvider->count() - 1);
        }
}

void TfSelMap::Ini(TZORLabelVCL& label, bool showScale, int32_t width, int32_t height)
{
    fLabel = &label;
    if (!fHooked) {
        fPrevious = label.OnComposeImage;
        fHooked = true;
    }
    // The host's handler still learns of every map.
    label.OnComposeImage = [this](TZORLabelVCL& sender) {
        if (fPrevious)
            fPrevious(sender);
        OnGetMap();
    };
    const TZORMapping& map = label.Mapping();
    ckShowCenter->setChecked(map.GetShowCenter());
    ckAsignScale->setVisible(showScale);
    const TZORBaseItem* selected = label.GetSelectionCount() > 0 ? label.GetSelection(1) : nullptr;
    const int32_t scale = label.Measure().GetDrawScale();
    fImgWidth = width != 0 || !selected
        ? width
        : zor::MapPixels(selected->GetBounds().Normalized().GetWidth(), scale);
    fImgHeight = height != 0 || !selected
        ? height
        : zor::MapPixels(selected->GetBounds().Normalized().GetHeight(), scale);
    butOK->setEnabled(false);
    FillLanguage();
    edLatitude->setText(CoordinateText(map.GetLatitude(), 5));
    edLongitude->setText(CoordinateText(map.GetLongitude(), 5));
    FillProviders();
}

bool TfSelMap::AssignScale() const
{
    return ckAsignScale->isVisible() && ckAsignScale->isChecked();
}

void TfSelMap::butSearchClick()
{
    const QString place = edLocation->text().trimmed();
    if (place.isEmpty() || fSearching || !fLabel)
        return;
    fSearching = true;
    butSearch->setEnabled(false);
    const zor::TGeocoder service = rbGoogle->isChecked() ? zor::TGeocoder::Google : zor::TGeocoder::Nominatim;
    zor::GeocodeAsync(service, place, fLabel->Mapping().GetKey(), this,
        [this](const zor::TGeocodeResult& result) { SearchDone(result); });
}

void TfSelMap::SearchDone(const zor::TGeocodeResult& result)
{
    fSearching = false;
    butSearch->setEnabled(true);
    if (result.Found) {
        edLatitude->setText(CoordinateText(result.Latitude, 6));
        edLongitude->setText(CoordinateText(result.Longitude, 6));
        return;
    }
    const QString title = windowTitle().trimmed();
    if (!result.Error.isEmpty())
        zor::ShowWarning(this, title,
            TZORMsg::GetErrorValue(QStringLiteral("Geocoding")) + QStringLiteral(": ") + result.Error);
    zor::ShowWarning(this, title, TZORMsg::GetErrorValue(QStringLiteral("LocNotFound")));
}

void TfSelMap::butGetMapClick()
{
    if (!fLabel)
        return;
    butOK->setEnabled(false);
    TZORMapping& map = fLabel->Mapping();
    // A key the label holds is the user's own and is kept.
    if (map.GetKey().isEmpty())
        map.SetKey(zor::GeocodingSettings().BuiltInKey);
    map.SetShowCenter(ckShowCenter->isChecked());
    if (cbMapProvider->currentIndex() >= 0)
        map.SetProvider(cbMapProvider->currentData().toInt());
    fAsked = true;
    try {
        fLabel->ComposeImage(
            edLatitude->text(), edLongitude->text(), cbZoom->currentIndex(), fImgWidth, fImgHeight);
    } catch (const std::exception& e) {
        fAsked = false;
        zor::ShowWarning(this, windowTitle().trimmed(), QString::fromUtf8(e.what()));
    }
}

void TfSelMap::OnGetMap()
{
    if (fAsked)
        butOK->setEnabled(true);
}
