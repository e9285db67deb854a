#pragma once

#include <QString>

#include <functional>

class QDialog;
class QWidget;

namespace stambrix::app {

/// What a message box tells, shown by its icon.
enum class MessageKind
{
    Information, ///< an outcome worth knowing, such as a file without anything to index
    Warning,     ///< the program goes on, though not quite as the user would want
    Error,       ///< a command failed
};

/// Everything modal the windows do, and the hand-over of addresses to the desktop, in one place:
/// tests put recorders in, so no test waits on a dialog.
struct Interaction
{
    /// A message box: modal, one OK button, titled with the application title, with the icon of its kind.
    std::function<void(QWidget* parent, const QString& text, MessageKind kind)> showMessage;
    /// The open-file dialog for a GEDCOM file (GedcomFileFilter), opening in `startFolder` with the files in
    /// columns; the chosen file's full path, "" when cancelled.
    std::function<QString(QWidget* parent, const QString& startFolder)> chooseGedcomFile;
    /// Shows one of the program's own windows modally.
    std::function<void(QDialog* window)> showModal;
    /// Hands an address ("Mailto:..." or a web address) to the desktop; the outcome is ignored.
    std::function<void(const QString& address)> openAddress;
    /// A question in a modal box titled with the application title, with the buttons «Ja» and «Nee»
    /// («Nee» the default and Escape); true for «Ja».
    std::function<bool(QWidget* parent, const QString& question)> askYesNo;
};

/// The interaction in force: the real dialogs unless a test replaced them.
Interaction& CurrentInteraction();

/// Shows `text` in a modal message box with one OK button, the title "Stambrix" and the icon of `kind`.
void ShowMessage(QWidget* parent, const QString& text, MessageKind kind);

} // namespace stambrix::app
