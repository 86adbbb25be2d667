#pragma once

#include "dialogs/Zor.WidgetsExport.h"

#include <QDialog>
#include <QPointer>

#include <cstdint>
#include <functional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class TZORLabelVCL;
namespace zor {
struct TGeocodeResult;
}

// The choice of a map: a tile provider, a zoom level and a centre, found by a place search if
// wished. "Get map" has the label compose the map in the background; OK becomes available when
// the label reports the composed image, whose file the label's mapping then names.
class QUINDLE_WIDGETS_EXPORT TfSelMap : public QDialog {
    Q_OBJECT

public:
    explicit TfSelMap(QWidget* parent = nullptr);
    // Gives the label its previous composed-image handler back.
    ~TfSelMap() override;

    // The label, whether the assign-scale box is offered, and the size of the map in pixels;
    // a size of 0 takes the selected element's size at 96 dots per inch.
    void Ini(TZORLabelVCL& label, bool showScale, int32_t width, int32_t height);
    void FillLanguage();

    // Searches the place typed with the service chosen; the answer comes later, the dialog
    // staying usable meanwhile. An empty place, or a search still running, does nothing.
    void butSearchClick();
    void butGetMapClick();
    // The label's composed-image event: a map asked for here is ready.
    void OnGetMap();

    bool AssignScale() const;
    bool Searching() const { return fSearching; }
    int32_t ImageWidth() const { return fImgWidth; }
    int32_t ImageHeight() const { return fImgHeight; }

    // How coordinates are shown: decimals digits and a comma as the separator.
    static QString CoordinateText(double value, int decimals);

private:
    void SearchDone(const zor::TGeocodeResult& result);
    void FillProviders();

    QPointer<TZORLabelVCL> fLabel;
    std::function<void(TZORLabelVCL&)> fPrevious; // the label's handler before Ini
    bool fHooked = false;
    bool fAsked = false; // "get map" was pressed here
    bool fSearching = false;
    int32_t fImgWidth = 0;
    int32_t fImgHeight = 0;

    QComboBox* cbMapProvider;
    QComboBox* cbZoom;
    QLineEdit* edLatitude;
    QLineEdit* edLongitude;
    QCheckBox* ckShowCenter;
    QLineEdit* edLocation;
    QPushButton* butSearch;
    QRadioButton* rbNominatim; // the radio group RGLoc
    QRadioButton* rbGoogle;
    QPushButton* butGetMap;
    QCheckBox* ckAsignScale;
    QPushButton* butOK;
};
