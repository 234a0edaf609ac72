#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>

#include <functional>
#include <memory>
#include <stdexcept>

class DataPacket;

// What a method knows of its call: who signed in on the connection, and the database session the call
// borrowed for its duration (a transaction must end within the call).
struct CallContext {
    QString operatorCode;
    QSqlDatabase db;
};

// A failure reported to the client inside the result; the message is what the user reads (Portuguese).
class ServerFailure : public std::runtime_error {
public:
    explicit ServerFailure(const QString &message)
        : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromStdString(what()); }
};

// A call the module cannot take: unknown method, wrong argument count or kind. The server answers the
// call with a failure carrying this message and goes on serving.
class BadCall : public ServerFailure {
public:
    using ServerFailure::ServerFailure;
    static BadCall unknownMethod(const QString &module, const QString &method);
    static BadCall wrongCount(const QString &method, int given, const QString &expected);
};

// The positional arguments of a call. Accessors check the kind and throw BadCall when it is wrong.
// Arguments passed by reference may be given a new value, which travels back to the client.
class CallArgs {
public:
    CallArgs() = default;
    CallArgs(QVariantList values, QList<bool> byReference);

    int count() const { return int(m_values.size()); }
    const QVariant &at(int index) const { return m_values.at(index); }
    bool isByReference(int index) const { return m_byReference.value(index); }

    QString text(int index) const;  // a text
    double number(int index) const; // a double or an integer
    double date(int index) const;   // a day count, 0 = no date
    bool flag(int index) const;     // -1 or 0, or a CBOR Boolean
    DataPacket packet(int index) const;

    // Throws BadCall unless there are exactly `expected` arguments (or one of the counts listed).
    void expectCount(const QString &method, std::initializer_list<int> expected) const;

    // Writes back into a by-reference argument; on an argument passed by value it does nothing.
    void setReference(int index, const QString &value);

    const QVariantList &values() const { return m_values; }
    const QList<bool> &byReference() const { return m_byReference; }

private:
    const QVariant &checked(int index) const;

    QVariantList m_values;
    QList<bool> m_byReference;
};

// A remote module. Each database session gets its own instances (made by the registry's factories on
// first use), so a module runs on one thread at a time and may keep what belongs to the session, such as
// prepared queries. The calls of one client may run on different sessions: nothing of a client is kept
// between its calls.
class RemoteModule {
public:
    virtual ~RemoteModule();
    virtual QString serverName() const = 0;
    // Method names match without regard to letter case. Returns the value sent to the client
    // (a DataPacket in a QVariant, a QVariantList, a text...). Throws ServerFailure or BadCall.
    virtual QVariant call(const QString &method, CallArgs &args, CallContext &ctx) = 0;
};

// The modules the server offers, looked up by server name without regard to letter case.
class ModuleRegistry {
public:
    using Factory = std::function<std::unique_ptr<RemoteModule>()>;

    // The factory is run once here to learn the module's server name: constructors must be cheap and
    // must not touch the database.
    void add(Factory factory);
    template <typename Module> void add() {
        add([] { return std::make_unique<Module>(); });
    }

    // A new instance of the named module, or nullptr when no module has that name.
    std::unique_ptr<RemoteModule> create(const QString &serverName) const;
    QStringList serverNames() const;

private:
    QList<std::pair<QString, Factory>> m_factories;
};
