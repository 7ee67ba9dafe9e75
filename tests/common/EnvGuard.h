#pragma once
// Sets environment variables for one test and puts the old values back.
#include <QByteArray>
#include <QList>

class EnvGuard {
public:
    EnvGuard() = default;
    Q_DISABLE_COPY(EnvGuard)
    ~EnvGuard()
    {
        for (auto it = m_saved.rbegin(); it != m_saved.rend(); ++it)
            it->second.isNull() ? qunsetenv(it->first.constData()) : qputenv(it->first.constData(), it->second);
    }
    void set(const char* name, const QByteArray& value) { remember(name), qputenv(name, value); }
    void unset(const char* name) { remember(name), qunsetenv(name); }

private:
    void remember(const char* name) { m_saved.append({name, qEnvironmentVariableIsSet(name) ? qgetenv(name) : QByteArray()}); }
    QList<std::pair<QByteArray, QByteArray>> m_saved;
};
