#pragma once

#include <QString>
#include <QStringList>

namespace DevServer {

// What the server knows about one connection.
class ServerSession
{
public:
    bool isAuthorized() const { return !m_token.isEmpty(); }
    const QString& token() const { return m_token; }
    const QString& login() const { return m_login; }

    void logIn(const QString& login, const QString& token)
    {
        m_login = login;
        m_token = token;
    }
    void logOut()
    {
        m_login.clear();
        m_token.clear();
    }

    // Devices this session added since the last call: the transport simulates
    // their first uplink.
    void noteAdded(const QString& devEui) { m_added.append(devEui); }
    QStringList takeAdded()
    {
        QStringList added;
        added.swap(m_added);
        return added;
    }

private:
    QString m_login;
    QString m_token;
    QStringList m_added;
};

} // namespace DevServer
