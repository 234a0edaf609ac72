#pragma once

#include <QHostAddress>
#include <QList>
#include <QMutex>
#include <QSet>

#include <functional>
#include <optional>

// Which connections the server keeps. Connections that have not signed in yet wait in a small lobby
// counted apart from the signed-in ones, so sockets that never say hello cannot take the places of
// clients that did. When the lobby is full the oldest of it makes room for the newcomer: a client that
// connects during a flood of silent sockets still gets in. Once the lobby is full, a silent newcomer
// from an address that already holds its share of silent places is turned away at the door, before it
// costs a thread: a flood from one address then costs the server little. Clients behind one address
// that have said something are not limited by it. Shared by the listener and every connection.
class Admission {
public:
    struct Limits {
        int maxWaiting;
        int maxWaitingPerAddress;
        int maxSignedIn;
    };
    struct Arrival {
        bool admitted;
        // The connection dropped to make room for this one.
        std::optional<int> dropped;
    };

    explicit Admission(const Limits &limits);

    // A new connection from `address` enters the lobby, unless the lobby is full, it is silent and that
    // address already holds its share of silent places; `drop` ends it. When the lobby is full, the oldest
    // connection that has sent nothing (else the oldest one) is dropped. `drop` runs under the lock, from any
    // thread: it may only post to its connection. A client sends its hello as soon as it connects, so `heard`
    // (bytes already waiting when the connection is accepted) tells it apart from a silent socket before its
    // thread runs.
    Arrival arrive(int id, const QHostAddress &address, bool heard, std::function<void()> drop);
    // Its hello has arrived: it is dropped to make room only when no silent one is left.
    void heard(int id);
    // Moves a connection of the lobby to a signed-in place; false when every place is taken or the
    // connection was already dropped.
    bool signIn(int id);
    // The connection has ended, whatever its stage.
    void leave(int id);

    int waiting() const;
    int signedIn() const;

private:
    struct Waiting {
        int id;
        QHostAddress address;
        bool heard;
        std::function<void()> drop;
    };

    qsizetype findWaiting(int id) const;
    qsizetype oldestToDrop() const;

    const Limits m_limits;
    mutable QMutex m_mutex;
    QList<Waiting> m_waiting; // in order of arrival
    QSet<int> m_signedIn;
};
