#pragma once

class QCoreApplication;

namespace orvex {

// Loads Qt's own Spanish texts (the standard dialogs and the message-box buttons,
// Debian's qt6-translations-l10n) whatever the user's locale: the program speaks
// Spanish only. False when they are not installed; the texts then stay English.
bool installSpanishTranslations(QCoreApplication& app);

} // namespace orvex
