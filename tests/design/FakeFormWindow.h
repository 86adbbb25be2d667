#pragma once

// A form window of Designer as far as a task menu reaches it: the form it edits and a cursor
// whose property changes are undoable commands on the form's history, as Designer's are.

#include <QDir>
#include <QUndoStack>
#include <QVariant>
#include <QWidget>
#include <QtDesigner/QDesignerFormWindowCursorInterface>
#include <QtDesigner/QDesignerFormWindowInterface>

namespace zor::test {

class TFakeFormWindow;

// One property change of a widget, undoable.
class TSetPropertyCommand : public QUndoCommand {
public:
    TSetPropertyCommand(QWidget* widget, const QString& name, const QVariant& value)
        : fWidget(widget)
        , fName(name.toLatin1())
        , fOld(widget->property(fName.constData()))
        , fNew(value)
    {
        setText(QStringLiteral("Change ") + name);
    }
    void redo() override { fWidget->setProperty(fName.constData(), fNew); }
    void undo() override { fWidget->setProperty(fName.constData(), fOld); }

private:
    QWidget* fWidget;
    QByteArray fName;
    QVariant fOld;
    QVariant fNew;
};

class TFakeCursor : public QDesignerFormWindowCursorInterface {
public:
    explicit TFakeCursor(TFakeFormWindow& form)
        : fForm(form)
    {
    }
    QDesignerFormWindowInterface* formWindow() const override;
    bool movePosition(MoveOperation, MoveMode) override { return false; }
    int position() const override { return 0; }
    void setPosition(int, MoveMode) override {}
    QWidget* current() const override { return nullptr; }
    int widgetCount() const override { return 0; }
    QWidget* widget(int) const override { return nullptr; }
    bool hasSelection() const override { return false; }
    int selectedWidgetCount() const override { return 0; }
    QWidget* selectedWidget(int) const override { return nullptr; }
    void setProperty(const QString&, const QVariant&) override {}
    void setWidgetProperty(QWidget* widget, const QString& name, const QVariant& value) override;
    void resetWidgetProperty(QWidget*, const QString&) override {}

private:
    TFakeFormWindow& fForm;
};

class TFakeFormWindow : public QDesignerFormWindowInterface {
public:
    TFakeFormWindow()
        : fCursor(*this)
        , fForm(new QWidget(this))
    {
        fForm->setObjectName(QStringLiteral("Form"));
    }

    QWidget* Form() const { return fForm; }
    QUndoStack& History() { return fHistory; }

    QDesignerFormWindowCursorInterface* cursor() const override { return const_cast<TFakeCursor*>(&fCursor); }
    QWidget* mainContainer() const override { return fForm; }
    void setMainContainer(QWidget*) override {}
    QWidget* formContainer() const override { return fForm; }
    QUndoStack* commandHistory() const override { return const_cast<QUndoStack*>(&fHistory); }
    bool isDirty() const override { return !fHistory.isClean(); }

    QString fileName() const override { return {}; }
    QDir absoluteDir() const override { return {}; }
    QString contents() const override { return {}; }
    QStringList checkContents() const override { return {}; }
    bool setContents(QIODevice*, QString*) override { return false; }
    Feature features() const override { return {}; }
    bool hasFeature(Feature) const override { return false; }
    QString author() const override { return {}; }
    void setAuthor(const QString&) override {}
    QString comment() const override { return {}; }
    void setComment(const QString&) override {}
    void layoutDefault(int*, int*) override {}
    void setLayoutDefault(int, int) override {}
    void layoutFunction(QString*, QString*) override {}
    void setLayoutFunction(const QString&, const QString&) override {}
    QString pixmapFunction() const override { return {}; }
    void setPixmapFunction(const QString&) override {}
    QString exportMacro() const override { return {}; }
    void setExportMacro(const QString&) override {}
    QStringList includeHints() const override { return {}; }
    void setIncludeHints(const QStringList&) override {}
    ResourceFileSaveMode resourceFileSaveMode() const override { return {}; }
    void setResourceFileSaveMode(ResourceFileSaveMode) override {}
    QtResourceSet* resourceSet() const override { return nullptr; }
    void setResourceSet(QtResourceSet*) override {}
    int toolCount() const override { return 0; }
    int currentTool() const override { return 0; }
    void setCurrentTool(int) override {}
    QDesignerFormWindowToolInterface* tool(int) const override { return nullptr; }
    void registerTool(QDesignerFormWindowToolInterface*) override {}
    QPoint grid() const override { return {}; }
    bool isManaged(QWidget*) const override { return true; }
    void beginCommand(const QString&) override {}
    void endCommand() override {}
    void simplifySelection(QList<QWidget*>*) const override {}
    void emitSelectionChanged() override {}
    QStringList resourceFiles() const override { return {}; }
    void addResourceFile(const QString&) override {}
    void removeResourceFile(const QString&) override {}
    void ensureUniqueObjectName(QObject*) override {}
    void manageWidget(QWidget*) override {}
    void unmanageWidget(QWidget*) override {}
    void setFeatures(Feature) override {}
    void setDirty(bool) override {}
    void clearSelection(bool) override {}
    void selectWidget(QWidget*, bool) override {}
    void setGrid(const QPoint&) override {}
    void setFileName(const QString&) override {}
    bool setContents(const QString&) override { return false; }
    void editWidgets() override {}

private:
    TFakeCursor fCursor;
    QUndoStack fHistory;
    QWidget* fForm;
};

inline QDesignerFormWindowInterface* TFakeCursor::formWindow() const { return &fForm; }

inline void TFakeCursor::setWidgetProperty(QWidget* widget, const QString& name, const QVariant& value)
{
    fForm.History().push(new TSetPropertyCommand(widget, name, value));
}

} // namespace zor::test
