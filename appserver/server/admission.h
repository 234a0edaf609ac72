#pragma once

#include <QList>
#include <QMutex>
#include <QSet>

#include <functional>
#include <optional>

// Which connections the server keeps. Connections that have not signed in yet wait in a small lobby
// counted apart from the signed-in ones, so sockets that never say hello cannot take the places of
// clients that did. When the lobby is full the oldest of it makes room for the newcomer: a client that
// connects during a flood of silent sockets still gets in. Shared by the listener and every connection.
class Admission {
public:
    Admission(int maxWaiting, int maxSignedIn);

    // A new connection enters the lobby; `drop` ends it. When the lobby is full, the oldest connection
    // that has not sent its hello whole yet (else the oldest one) is dropped and its id returned. `drop`
    // runs under the lock, from any thread: it may only post to its connection.
    std::optional<int> arrive(int id, std::function<void()> drop);
    // Its hello has arrived whole: it is dropped to make room only when no silent one is left.
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
        bool heard;
        std::function<void()> drop;
    };

    qsizetype findWaiting(int id) const;
    qsizetype oldestToDrop() const;

    const int m_maxWaiting;
    const int m_maxSignedIn;
    mutable QMutex m_mutex;
    QList<Waiting> m_waiting; // in order of arrival
    QSet<int> m_signedIn;
};
