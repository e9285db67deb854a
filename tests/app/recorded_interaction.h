#pragma once

#include "app/interaction.h"

#include "app_tests.h"

#include <functional>

#include <QDialog>
#include <QList>
#include <QString>
#include <QStringList>

namespace stambrix::app::test {

/// Records what the window would show or hand to the desktop, and answers the file dialog.
struct RecordedInteraction
{
    RecordedInteraction() : saved_(CurrentInteraction())
    {
        Interaction& current = CurrentInteraction();
        current.showMessage = [this](QWidget*, const QString& text, MessageKind kind) {
            messages.append(text);
            kinds.append(kind);
            if (whileShown)
                whileShown();
        };
        current.chooseGedcomFile = [this](QWidget*, const QString& startFolder) {
            startFolders.append(startFolder);
            return answer;
        };
        current.showModal = [this](QDialog*) { ++modals; };
        current.openAddress = [this](const QString& address) { addresses.append(address); };
        current.askYesNo = [this](QWidget*, const QString& question) {
            questions.append(question);
            return yes;
        };
    }
    ~RecordedInteraction() { CurrentInteraction() = saved_; }
    RecordedInteraction(const RecordedInteraction&) = delete;
    RecordedInteraction& operator=(const RecordedInteraction&) = delete;

    QStringList messages;
    QList<MessageKind> kinds;
    QStringList addresses;
    QStringList startFolders;
    QString answer;
    /// Called while a message is shown, as the box would stand open.
    std::function<void()> whileShown;
    int modals = 0;
    QStringList questions;
    /// The answer to every question: «Ja» when true.
    bool yes = false;

private:
    Interaction saved_;
};

/// What each test of the main window starts from: a settings store of its own and the interaction recorded.
struct WindowTestScope
{
    ScopedRegistryFile registry;
    RecordedInteraction interaction;
};

} // namespace stambrix::app::test
