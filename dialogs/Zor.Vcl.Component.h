#pragma once

#include "Zor.Data.h"
#include "dialogs/Zor.WidgetsExport.h"

#include <QString>
#include <QStringList>
#include <QWidget>

class TZORLabelVCL;

// The label component as a form holds it: a widget that owns a TZORLabelVCL and shows its
// settings as properties, so that Qt Designer can place it on a form and a .ui file (through
// uic or QUiLoader) can restore it. The label's nested settings are flattened: the data's JSON
// text is DataJson, the measure's paper PaperName, the host data-set bindings DataSets (their
// JSON form). It is hidden at run time; in Designer it shows as a small tile.
//
// Views name their label by name: Views lists the object names of the form's views (editor,
// inspector, preview, symbol library viewer) that take this label. They are linked once the
// form is built, when control comes back to the event loop, or at once by LinkViews.
class QUINDLE_WIDGETS_EXPORT TZORLabelComponent : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int Units READ GetUnits WRITE SetUnits)
    Q_PROPERTY(bool LayerZOrder READ GetLayerZOrder WRITE SetLayerZOrder)
    Q_PROPERTY(QString LanguageFileName READ GetLanguageFileName WRITE SetLanguageFileName)
    Q_PROPERTY(bool Editable READ GetEditable WRITE SetEditable)
    Q_PROPERTY(QString ImageFolder READ GetImageFolder WRITE SetImageFolder)
    Q_PROPERTY(QString OpenImgFolder READ GetOpenImgFolder WRITE SetOpenImgFolder)
    Q_PROPERTY(QString LibraryFolder READ GetLibraryFolder WRITE SetLibraryFolder)
    Q_PROPERTY(int EditorMode READ GetEditorMode WRITE SetEditorMode)
    Q_PROPERTY(QString DataJson READ GetDataJson WRITE SetDataJson)
    Q_PROPERTY(QString PaperName READ GetPaperName WRITE SetPaperName)
    Q_PROPERTY(QString DataSets READ GetDataSets WRITE SetDataSets)
    Q_PROPERTY(QStringList Views READ GetViews WRITE SetViews)

public:
    explicit TZORLabelComponent(QWidget* parent = nullptr);

    TZORLabelVCL& Label() const { return *fLabel; }

    // Shown as a tile, never linking views: the widget Qt Designer places on the form it edits.
    void SetDesignMode(bool design);
    bool IsDesignMode() const { return fDesign; }

    // Gives this label to every view that Views names among the widgets of this widget's
    // window: to its "Quindle" property. A name that finds no widget, or a widget without that
    // property, is passed over. Answers how many views were linked.
    int LinkViews();

    int GetUnits() const;
    void SetUnits(int units);
    bool GetLayerZOrder() const;
    void SetLayerZOrder(bool on);
    QString GetLanguageFileName() const;
    void SetLanguageFileName(const QString& fileName);
    bool GetEditable() const;
    void SetEditable(bool on);
    QString GetImageFolder() const;
    void SetImageFolder(const QString& folder);
    QString GetOpenImgFolder() const;
    void SetOpenImgFolder(const QString& folder);
    QString GetLibraryFolder() const;
    void SetLibraryFolder(const QString& folder);
    int GetEditorMode() const;
    void SetEditorMode(int mode);
    // The data's JSON text; a text the data refuses changes nothing.
    QString GetDataJson() const;
    void SetDataJson(const QString& text);
    QString GetPaperName() const;
    void SetPaperName(const QString& name);
    // The host data sets the label binds, as the "Datasets" array of the data's JSON form.
    // Entries keep the sources the host attached, by name. A text that does not read changes
    // nothing.
    QString GetDataSets() const;
    void SetDataSets(const QString& json);
    // The "Datasets" array of the data's JSON form that holds these entries.
    static QString DataSetsText(const TZORDatasets& sets);
    const QStringList& GetViews() const { return fViews; }
    void SetViews(const QStringList& names);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TZORLabelVCL* fLabel;
    QStringList fViews;
    bool fDesign = false;
    bool fLinkQueued = false;
};
