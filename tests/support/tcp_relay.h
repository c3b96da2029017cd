#pragma once

#include <QString>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

// A TCP relay on the loopback address in front of a server port, for tests that cut the
// network between a program and its database server at will. It runs on a thread of its own,
// so that the program under test may block in its client library meanwhile.
class TcpRelay {
public:
    // Listens on a free loopback port and passes every connection on to `targetPort`.
    explicit TcpRelay(int targetPort);
    ~TcpRelay();
    TcpRelay(const TcpRelay&) = delete;
    TcpRelay& operator=(const TcpRelay&) = delete;

    int port() const { return m_port; }

    // Drops every open connection and refuses new ones, as a server that went down.
    void cut();
    // Listens again on the same port.
    void restore();

private:
    void run();
    void listen();
    // Wakes the relay thread and waits until it has let go of what it was watching.
    void settle();

    int m_targetPort;
    int m_port = 0;
    int m_wakePipe[2] = {-1, -1};
    std::mutex m_mutex;
    int m_listener = -1;                       // guarded by m_mutex
    bool m_cut = false;                        // guarded by m_mutex
    std::vector<std::pair<int, int>> m_pairs;  // guarded by m_mutex
    std::condition_variable m_settled;
    unsigned m_rounds = 0;                     // guarded by m_mutex: watching rounds begun
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

// A database location on the server ("host:/path") reached through the relay's port instead.
QString ThroughRelay(const QString& location, const TcpRelay& relay);
