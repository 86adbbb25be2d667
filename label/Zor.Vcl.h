#pragma once

#include "Zor.Vcl.Background.h"
#include "Zor.Vcl.Dialogs.h"
#include "Zor.Vcl.Print.h"
#include "Zor.Vcl.Shared.Label.h"
#include "drawing/Zor.VclExport.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <mutex>
#include <optional>

class QIODevice;
namespace zor {

class TSkCanvas;

} // namespace zor
class TZORDraw;
namespace zor {

class TBinaryReader;
class TJsonObject;

} // namespace zor
class TZORLibSymbol;

// The label component a host program places on its form: the label every view (editor,
// inspector, preview) shows. It builds elements from label files and from the copy buffer, and
// reaches printing, export and the dialogs.
class QUINDLE_VCL_EXPORT TZORLabelVCL : public TZORSharedVCL {
    Q_OBJECT
    Q_PROPERTY(int Units READ GetUnitsValue WRITE SetUnitsValue)
    Q_PROPERTY(bool LayerZOrder READ GetLayerZOrder WRITE SetLayerZOrder)
    Q_PROPERTY(QString LanguageFileName READ GetLanguageFileName WRITE SetLngFileName)
    Q_PROPERTY(bool Editable READ GetEditable WRITE SetEditable)
    Q_PROPERTY(QString ImageFolder READ GetImageFolder WRITE SetImageFolder)
    Q_PROPERTY(QString OpenImgFolder READ GetOpenImgFolder WRITE SetOpenImgFolder)
    Q_PROPERTY(QString LibraryFolder READ GetLibraryFolder WRITE SetLibraryFolder)
    Q_PROPERTY(int EditorMode READ GetEditorModeValue WRITE SetEditorModeValue)

public:
    // Asked before the print-time list dialog offers a list: the label, the list's name, the
    // items to offer (to fill) and whether the handler has done so.
    using TZORGetListValues
        = std::function<void(TZORLabelVCL& sender, const QString& name, QStringList& items, bool& handled)>;

    explicit TZORLabelVCL(QObject* parent = nullptr);

    // Builds the element class of a type code (1 to 29); null for any other code.
    std::unique_ptr<TZORBaseItem> NewItem(int32_t code, bool aPreview) override;
    // A new element takes the active layer's defaults as the factory gives them.
    void LayerDefaults(TZORBaseItem& item) const override;

    // Reads a label file: ".eti" the binary form, ".json" the JSON form, by the text after the
    // last dot, compared case-sensitively; any other name loads nothing. A load adds to what the
    // label holds; one that fails raises and leaves the label as it was.
    void LoadFromFile(const QString& fileName);
    // Reads a label document of the JSON form.
    void LoadFromJson(const zor::TJsonObject& document);
    // Reads a binary label stream from the device's position.
    void LoadFromStream(QIODevice* stream);
    // One element record from a reader; null for a type code of no kind (only the code is read).
    TZORBaseItem* CreateFromStream(zor::TBinaryReader& reader, int32_t version, TZORReadType readType);
    // Reads the single-element form (a version, then one element record) from the start of the
    // device into the label.
    TZORBaseItem* CreateElementFromStream(QIODevice* stream);
    // Adds the elements of the copy buffer, selected.
    void PasteSelection();

    // A copy of the label for a print or export job to work on while the user goes on editing:
    // settings, symbols, elements (sheet copies included), data and the run's position. Made on
    // the calling thread through the in-memory element stream. A host's label class may add its
    // own state to the copy.
    virtual std::unique_ptr<TZORLabelVCL> Snapshot() const;

    // Resolution the editor works at; stored for the host and the dialogs.
    void SetDPI(int32_t x, int32_t y);
    int32_t GetDPIX() const { return fDPIX; }
    int32_t GetDPIY() const { return fDPIY; }

    // --- Export ---
    // Exports a snapshot of the label on a worker and returns at once: the cropped content
    // (fit with page 0) or the current sheet, to a document (PDF, XPS) or an image (BMP, PNG,
    // GIF, JPEG). checkData prepares the run first, with its prompts on this thread (its errors
    // reach the caller here). The scale is kept within 0.2 to 5.0. ExportDone tells the end.
    void ExportDoc(TZORExport kind, const QString& fileName, int32_t page, float scale, int16_t quality,
        bool checkData, bool transparent, bool fit);
    // Waits until every export job of the label has ended; their ExportDone signals stay queued.
    void WaitForExports();

    // --- Printing ---
    // Prepares the run (CheckPrintData, with its prompts on this thread) and prints a snapshot
    // of the label on a worker: the printer of the print information's index among
    // zor::PrinterNames(), or the PDF file of SetPrintFileName. Returns at once. A sheet whose
    // labels run off its paper raises EZORError before anything is printed.
    void Print();
    // The model's run and prompts, then one copy of every data-bound element for each label
    // position of a sheet (copies of an earlier run are removed first, never copied again).
    // Lists and questions are asked through the host's prompter (SetPrompter), else through the
    // library's dialogs (zor::LabelDialogs().Prompter) in a widget application; where no one
    // can be asked, a run that asks something raises EZORError naming each list and question
    // and changes nothing.
    void CheckPrintData() override;
    // The prompts of CheckPrintData, asked as it asks them.
    void GetListValues() override;
    void GetAskValues() override;
    // Makes the stored printer the current one; an index naming no printer changes nothing.
    void ResetPrinter();
    // Prints to a PDF file instead of a printer (empty: to the printer).
    void SetPrintFileName(const QString& fileName) { fPrintFileName = fileName; }
    const QString& GetPrintFileName() const { return fPrintFileName; }
    // Waits until every print job of the label has ended.
    void WaitForPrint() { fPrintJobs.WaitAll(); }
    TZORPrintStatus GetLastPrintStatus() const { return fPrintJobs.LastStatus(); }

    // --- Layer backgrounds and maps ---
    // Draws the background of the background layer (GetBackLayer) into the label box at the
    // context's origin (fOrgFX, fOrgFY), less the layer's margins, turned with the label's
    // orientation, when the context's draw state shows it; false when nothing was drawn.
    bool DrawBackImage(const std::shared_ptr<zor::TSkCanvas>& canvas, TZORDraw& D) const;
    // The same on the printer: at the context's label origin (fOrgX, fOrgY), through its
    // graphics, when the layer prints its background. The print job calls it for every label
    // before the elements.
    bool PrintBackImage(TZORDraw& D) const;
    // Plans the tiles of a map centred on the place (decimal texts, "." or ","), zoom levels
    // 0 to 20, width x height pixels, and queues the tile job on this label's thread: the job
    // downloads and composes the tiles, saves the PNG into the image folder, names it (relative
    // to the folder) in Mapping(), fires OnComposeImage, and ends with ComposeDone. Returns at
    // once; a place or size the mapping refuses starts nothing. Raises "MapFolder" when the
    // label has no image folder.
    void ComposeImage(
        const QString& latitude, const QString& longitude, int32_t zoom, int32_t width, int32_t height);
    // The tiles the last map job could not draw, one text each.
    const QStringList& GetComposeErrors() const { return fComposeErrors; }

    // --- Operations that open dialogs ---
    // Each opens its dialog through zor::LabelDialogs(); with none in place it ends quietly.
    // Values are written back in one update bracket, so that the views learn them once.
    // The set-up of a sheet of labels (EditorMode 0) or of a drawing (EditorMode 1 and 2); after
    // OK the values go into the measure, the print information and the data. Any other mode and
    // a cancel change nothing.
    void EditProperties();
    // The layers dialog, which changes the layers itself; the views are refreshed afterwards.
    void EditLayers();
    // Only in EditorMode 2: the dimension styles dialog, which changes the styles itself; the
    // dimensions then take their texts and layouts anew and the views are refreshed.
    void EditDimStyles();
    // The preview window, modally.
    void Preview();
    // A new image element in the box (x, y, w, h), base units: with map, the map dialog for an
    // image of the box's size on paper in pixels at 96 dpi, and after OK the composed map; else
    // a picture chosen in a file dialog (fileName is not used). A picture inside the image
    // folder is named relative to it; one elsewhere is embedded (raises EZORError when it
    // cannot be read). Null when the user cancels.
    virtual TZORImage* AddBaseImage(
        int64_t x, int64_t y, int64_t w, int64_t h, bool map, const QString& fileName);
    // A link between the elements of those names (their IDs in decimal); null when either is
    // missing.
    TZORLink* AddLink(const QString& fromName, const QString& toName, int16_t fromPoint, int16_t toPoint,
        TZORinkType linkType);

    // --- Symbol definitions ---
    // Offers a new definition in the JSON editor (a fresh braced GUID as its ID). One that the
    // user confirms and that reads as a definition with an ID of its own becomes the label's
    // current symbol and is returned; a rejected one is reported through the editor and adds
    // nothing. Text that is not JSON raises EZORError.
    TZORLibSymbol* AddSymbolDef();
    // Shows the current symbol's definition in the JSON editor. A definition the user confirms
    // replaces it, in one update bracket, and the symbol elements showing it follow (a new ID
    // too); one that does not read, or whose new ID another symbol holds, is reported through
    // the editor and changes nothing. Text that is not JSON raises EZORError. Without a current
    // symbol nothing opens.
    void EditSymbolDef();
    // Who edits the definitions of this label; not owned. None: the one of zor::LabelDialogs().
    void SetJsonEditor(IZORJsonEditor* editor) { fJsonEditor = editor; }

    TZORGetListValues OnGetListValues;
    // Fired on the label's thread when a composed map has been saved, after the busy flag of
    // the mapping has been cleared.
    std::function<void(TZORLabelVCL& sender)> OnComposeImage;
    // Fired on the print worker, with the label as sender; Print takes copies of them, so
    // changing them during a job affects the next one.
    std::function<void(TZORLabelVCL& sender)> OnBeforePrint;
    std::function<void(TZORLabelVCL& sender)> OnAfterPrint;

signals:
    // An export job has ended, on the label's thread: error is empty when the file was written,
    // else the reason, and then no file of that name was left behind.
    void ExportDone(const QString& fileName, const QString& error);
    // A map job has ended, on the label's thread: error is empty when the file (relative to the
    // image folder) was saved, else the reason.
    void ComposeDone(const QString& fileName, const QString& error);

private:
    // The printer PrintInfo's index names (-1: the system default); empty for none.
    QString SelectedPrinter() const;
    int GetUnitsValue() const { return int(zor::Ord(GetUnits())); }
    void SetUnitsValue(int u) { SetUnits(TZORUnits(uint8_t(u))); }
    int GetEditorModeValue() const { return GetEditorMode(); }
    void SetEditorModeValue(int m) { SetEditorMode(uint8_t(m)); }

    IZORJsonEditor* JsonEditor() const;
    void EndMapJob(const QString& fileName, const QString& error, const QStringList& tileErrors);

    // The decoded background, shared by every thread that draws the label.
    QImage BackPicture(TZORLayer& layer) const;

    mutable std::mutex fBackMutex;
    mutable zor::TBackImageCache LImage;
    int32_t fMapJobs = 0; // map jobs queued and not yet ended
    QStringList fComposeErrors;
    int32_t fDPIX = 0;
    int32_t fDPIY = 0;
    QString fPrintFileName;
    IZORJsonEditor* fJsonEditor = nullptr;
    // Last of the print members: destroyed first, it waits for the running jobs while the
    // rest of the label is still whole.
    zor::TPrintJobs fPrintJobs;
};
