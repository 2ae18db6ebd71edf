#pragma once

#include <QString>
#include <QStringList>

class QCoreApplication;

namespace kalnor {

// Qt's own texts (file and message-box buttons, text-box context menus...)
// in Spanish whatever the system's language: Kalnor is a Spanish program.
// Numbers keep following the system locale, so nothing here touches
// QLocale::setDefault. The translators are children of `aplicacion`.
// Returns the catalogues loaded ("qtbase_es" ...); none when Qt's
// translations are not installed (the dialogs then stay in English).
QStringList instalarTraducciones(QCoreApplication& aplicacion);

// Where Qt's catalogues are looked for: Qt's own translations folder.
QString carpetaTraducciones();

} // namespace kalnor
