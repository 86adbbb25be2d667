#pragma once

#include <QDialog>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QtDesigner/QDesignerTaskMenuExtension>
#include <QtDesigner/QExtensionFactory>

class QAction;
class QListWidget;
class TZORLabelComponent;

// The label's actions in Designer's context menu, where the IDE's property editors would be:
// a folder picker for each of the label's text properties, the JSON dialog for the data's
// JSON text, the list of papers for the paper name, and the data-binding dialog ("DATA
// SETTINGS"). Each change goes through the form window's cursor, so that Designer can undo it
// and marks the form modified; a cancelled dialog changes nothing.
class TZORLabelTaskMenu : public QObject, public QDesignerTaskMenuExtension {
    Q_OBJECT
    Q_INTERFACES(QDesignerTaskMenuExtension)

public:
    TZORLabelTaskMenu(TZORLabelComponent* component, QObject* parent);

    QList<QAction*> taskActions() const override { return fActions; }

private:
    QAction* AddAction(const QString& name, const QString& text, void (TZORLabelTaskMenu::*run)(const QString&),
        const QString& argument = QString());
    void EditFolder(const QString& property);
    void EditJson(const QString&);
    void EditPaper(const QString&);
    void EditData(const QString&);
    void Write(const char* property, const QVariant& value);

    QPointer<TZORLabelComponent> fComponent;
    QList<QAction*> fActions;
};

// Makes the task menu of each label component Designer asks about.
class TZORLabelTaskMenuFactory : public QExtensionFactory {
    Q_OBJECT

public:
    explicit TZORLabelTaskMenuFactory(QExtensionManager* parent);

protected:
    QObject* createExtension(QObject* object, const QString& iid, QObject* parent) const override;
};

// The choice of a paper among the model's papers, sorted by name.
class TfPaperList : public QDialog {
    Q_OBJECT

public:
    explicit TfPaperList(QWidget* parent = nullptr);

    // Lists the papers with current (when it is one of them) chosen.
    void Ini(const QString& current);
    // The chosen paper; empty when none is.
    QString GetPaper() const;

private:
    QListWidget* lbPapers;
};
