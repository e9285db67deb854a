#include "app/failure_message.h"

#include "app/core_text.h"

#include <cerrno>
#include <string>
#include <string_view>

namespace stambrix::app {

namespace {
QString Sentence(const char* pattern, const text::RunFailure& error)
{
    return QString::fromUtf8(pattern).arg(FromLocal8Bit(error.path()), FromLocal8Bit(error.reason()));
}
} // namespace

QString RunFailureMessage(const text::RunFailure& error, const run::RunRequest& request)
{
    const std::string outputDirectory = run::OutputDirectoryOf(request.gedcomPath);
    if (error.path() == outputDirectory)
        return Sentence("De map \"%1\" kan niet worden gemaakt: %2.", error);
    if (error.path() == request.gedcomPath && error.errorNumber() == ENOMEM)
        return Sentence("De index van \"%1\" past niet in het geheugen: %2.", error);
    if (error.path() == request.gedcomPath && error.reason() == run::kChangedWhileRead)
        return QString::fromUtf8("Het bestand \"%1\" is veranderd terwijl het gelezen werd; er is niets geschreven. "
                                 "Voer de opdracht opnieuw uit als het bestand klaar is.")
            .arg(FromLocal8Bit(error.path()));
    if (error.path() == request.gedcomPath)
        return UnreadableFileMessage(error);
    if (error.path().starts_with(outputDirectory + '/'))
        return Sentence("Het bestand \"%1\" kan niet worden geschreven: %2.", error);
    // The sort puts its cause where a path would stand.
    return Sentence("De index kan niet worden gesorteerd (%1): %2.", error);
}

QString UnreadableFileMessage(const text::RunFailure& error)
{
    return Sentence("Het bestand \"%1\" kan niet worden gelezen: %2.", error);
}

} // namespace stambrix::app
