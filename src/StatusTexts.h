#pragma once

#include <QHash>
#include <QString>

// What the operator reads for each registration status word of the server.
// The texts are shown exactly as written here and are not translated.
namespace StatusTexts {

// Empty for the words that have no text.
QString operatorText(const QString& status);

// Every status word that has a text, with it.
const QHash<QString, QString>& all();

} // namespace StatusTexts
