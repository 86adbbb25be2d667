#pragma once

// For test programs that link the runtime library: the dialog service answered by the test.

#include "dialogs/Zor.DialogService.h"

#include <QAbstractButton>
#include <QDialog>
#include <QDialogButtonBox>
#include <QMenu>
#include <QPushButton>
#include <QStringList>
#include <QUrl>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <optional>

namespace zor::test {

// Answers the library's dialogs while it lives: each request takes the next answer queued for
// its kind. A dialog, chooser or question with no answer queued fails the test and is
// cancelled, so that nothing waits for a user; a message box with one button is answered with it.
// Every request is logged in `Asked` ("dialog <object name>", "message <text>", "file <caption>",
// "folder <caption>", "colour <title>", "text <title>", "popup <title>").
class TScriptedDialogs : public TZORDialogService {
public:
    using TDialogAnswer = std::function<int(QDialog&)>;
    using TPopupAnswer = std::function<QAction*(QMenu&)>;

    TScriptedDialogs()
        : fPrevious(zor::SetDialogService(this))
    {
    }
    ~TScriptedDialogs() override
    {
        zor::SetDialogService(fPrevious);
        EXPECT_TRUE(fDialogs.empty() && fButtons.empty() && fFiles.empty() && fColours.empty()
            && fTexts.empty() && fPopups.empty() && fPrintSetups.empty())
            << "answers left unused; asked: " << Asked.join(QStringLiteral(", ")).toStdString();
    }
    TScriptedDialogs(const TScriptedDialogs&) = delete;
    TScriptedDialogs& operator=(const TScriptedDialogs&) = delete;

    void AnswerDialog(TDialogAnswer answer) { fDialogs.push_back(std::move(answer)); }
    void AnswerMessage(QMessageBox::StandardButton button) { fButtons.push_back(button); }
    // A file or folder name; empty cancels.
    void AnswerFile(const QString& name) { fFiles.push_back(name); }
    void AnswerColour(std::optional<QColor> colour) { fColours.push_back(colour); }
    void AnswerText(std::optional<QString> text) { fTexts.push_back(std::move(text)); }
    void AnswerPopup(TPopupAnswer answer) { fPopups.push_back(std::move(answer)); }

    // Clicks a standard button of the dialog's button box, as a user would, and answers the
    // dialog's result: a button whose handler does not close the dialog leaves it Rejected.
    static int Press(QDialog& dialog, QDialogButtonBox::StandardButton which)
    {
        auto* box = dialog.findChild<QDialogButtonBox*>();
        if (QAbstractButton* button = box ? box->button(which) : nullptr)
            button->click();
        else
            ADD_FAILURE() << "no such button in " << dialog.objectName().toStdString();
        return dialog.result();
    }

    QStringList Asked;
    QStringList Messages;

    int Exec(QDialog& dialog) override
    {
        Asked << QStringLiteral("dialog ") + Name(dialog);
        if (fDialogs.empty()) {
            ADD_FAILURE() << "unexpected dialog " << Name(dialog).toStdString();
            return QDialog::Rejected;
        }
        const TDialogAnswer answer = Take(fDialogs);
        return answer(dialog);
    }

    QMessageBox::StandardButton Message(QWidget*, QMessageBox::Icon, const QString& title,
        const QString& text, QMessageBox::StandardButtons buttons,
        QMessageBox::StandardButton defaultButton) override
    {
        Asked << QStringLiteral("message ") + text;
        Messages << text;
        if (!fButtons.empty())
            return Take(fButtons);
        if (buttons == QMessageBox::Ok || buttons == QMessageBox::NoButton)
            return QMessageBox::Ok;
        ADD_FAILURE() << "unexpected question " << title.toStdString() << ": " << text.toStdString();
        return defaultButton == QMessageBox::NoButton ? QMessageBox::Cancel : defaultButton;
    }

    QString OpenFileName(QWidget*, const QString& caption, const QString&, const QString&) override
    {
        return FileAnswer(QStringLiteral("file ") + caption);
    }
    QString SaveFileName(QWidget*, const QString& caption, const QString&, const QString&) override
    {
        return FileAnswer(QStringLiteral("file ") + caption);
    }
    QString ExistingDirectory(QWidget*, const QString& caption, const QString&) override
    {
        return FileAnswer(QStringLiteral("folder ") + caption);
    }

    std::optional<QColor> Color(QWidget*, const QColor&, const QString& title, bool) override
    {
        Asked << QStringLiteral("colour ") + title;
        if (fColours.empty()) {
            ADD_FAILURE() << "unexpected colour dialog " << title.toStdString();
            return std::nullopt;
        }
        return Take(fColours);
    }

    std::optional<QString> Text(QWidget*, const QString& title, const QString&, const QString&) override
    {
        Asked << QStringLiteral("text ") + title;
        if (fTexts.empty()) {
            ADD_FAILURE() << "unexpected text box " << title.toStdString();
            return std::nullopt;
        }
        return Take(fTexts);
    }

    QAction* Popup(QMenu& menu, const QPoint&) override
    {
        Asked << QStringLiteral("popup ") + menu.title();
        if (fPopups.empty()) {
            ADD_FAILURE() << "unexpected pop-up menu " << menu.title().toStdString();
            return nullptr;
        }
        const TPopupAnswer answer = Take(fPopups);
        return answer(menu);
    }

    bool PrintSetup(QWidget*, QPrinter&) override
    {
        Asked << QStringLiteral("print setup");
        if (fPrintSetups.empty()) {
            ADD_FAILURE() << "unexpected print dialog";
            return false;
        }
        return Take(fPrintSetups);
    }
    void OpenUrl(const QUrl& url) override { Asked << QStringLiteral("url ") + url.toString(); }
    void Beep() override { ++Beeps; }

    void AnswerPrintSetup(bool ok) { fPrintSetups.push_back(ok); }
    int Beeps = 0;

private:
    template <class T> static T Take(std::deque<T>& queue)
    {
        T front = std::move(queue.front());
        queue.pop_front();
        return front;
    }

    static QString Name(const QDialog& dialog)
    {
        return dialog.objectName().isEmpty() ? QString::fromUtf8(dialog.metaObject()->className())
                                             : dialog.objectName();
    }

    QString FileAnswer(const QString& asked)
    {
        Asked << asked;
        if (fFiles.empty()) {
            ADD_FAILURE() << "unexpected " << asked.toStdString();
            return {};
        }
        return Take(fFiles);
    }

    TZORDialogService* fPrevious;
    std::deque<TDialogAnswer> fDialogs;
    std::deque<QMessageBox::StandardButton> fButtons;
    std::deque<QString> fFiles;
    std::deque<std::optional<QColor>> fColours;
    std::deque<std::optional<QString>> fTexts;
    std::deque<TPopupAnswer> fPopups;
    std::deque<bool> fPrintSetups;
};

} // namespace zor::test
