#pragma once

#include <QString>

namespace DevServer {

// Everything the command line can change. The defaults are what a developer
// gets by starting the server without options.
struct ServerConfig
{
    QString host = QStringLiteral("127.0.0.1");
    quint16 port = 8002;                  // 0: any free port
    QString login = QStringLiteral("admin");
    QString password = QStringLiteral("admin");
    int maxDevices = 100000;             // room for a few 10,000-row sheet imports
    int maxClients = 256;
    qint64 maxMessageBytes = 1024 * 1024; // larger texts are refused
    QString makerPrefix = QStringLiteral("5A4152"); // DevEUIs counted as the maker's own
    int uplinkAfterMs = -1;               // negative: no simulated uplinks
    bool verbose = false;
};

} // namespace DevServer
