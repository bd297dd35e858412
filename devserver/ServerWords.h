#pragma once

#include <QString>

// Texts that belong to this server alone: the program knows none of them, so
// they live here rather than in the shared protocol vocabulary.
namespace DevServer::Words {

// "err_string" values
inline const QString invalidLoginOrPassword = QStringLiteral("invalid_login_or_password");
inline const QString notAuthorized = QStringLiteral("not_authorized");
inline const QString invalidToken = QStringLiteral("invalid_token");
inline const QString invalidJson = QStringLiteral("invalid_json");
inline const QString invalidRequest = QStringLiteral("invalid_request");
inline const QString unknownCommand = QStringLiteral("unknown_command");
inline const QString messageTooBig = QStringLiteral("message_too_big");

// Answer to a text that names no command the server knows
inline const QString errorResp = QStringLiteral("error_resp");

// What "device_access" grants: this server has no per-user device rights
inline const QString accessAll = QStringLiteral("all");

// Status words beyond the program's vocabulary
inline const QString notFound = QStringLiteral("notFound");        // deletion of an unknown device
inline const QString invalidParameter = QStringLiteral("invalidParameter"); // a member with no word of its own

} // namespace DevServer::Words
