#include "tcp_relay.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace {

constexpr int kBacklog = 16;
constexpr size_t kChunk = 64 * 1024;

sockaddr_in Loopback(int port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

// Closes a socket with a reset, as a broken network does, rather than an orderly end.
void Reset(int fd)
{
    linger hard{1, 0};
    setsockopt(fd, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
    close(fd);
}

bool WriteAll(int fd, const char* data, ssize_t length)
{
    while (length > 0) {
        const ssize_t written = send(fd, data, static_cast<size_t>(length), MSG_NOSIGNAL);
        if (written <= 0)
            return false;
        data += written;
        length -= written;
    }
    return true;
}

}  // namespace

TcpRelay::TcpRelay(int targetPort) : m_targetPort(targetPort)
{
    if (pipe(m_wakePipe) != 0)
        throw std::runtime_error("pipe");
    listen();
    sockaddr_in bound{};
    socklen_t length = sizeof bound;
    getsockname(m_listener, reinterpret_cast<sockaddr*>(&bound), &length);
    m_port = ntohs(bound.sin_port);
    m_thread = std::thread([this] { run(); });
}

TcpRelay::~TcpRelay()
{
    m_stop = true;
    const char byte = 0;
    [[maybe_unused]] const ssize_t written = write(m_wakePipe[1], &byte, 1);
    m_thread.join();
    for (const auto& [a, b] : m_pairs) {
        close(a);
        close(b);
    }
    if (m_listener >= 0)
        close(m_listener);
    close(m_wakePipe[0]);
    close(m_wakePipe[1]);
}

void TcpRelay::listen()
{
    m_listener = socket(AF_INET, SOCK_STREAM, 0);
    const int yes = 1;
    setsockopt(m_listener, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    const sockaddr_in address = Loopback(m_port);
    if (bind(m_listener, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(m_listener, kBacklog) != 0)
        throw std::runtime_error(std::string("relay cannot listen: ") + std::strerror(errno));
}

void TcpRelay::settle()
{
    std::unique_lock lock(m_mutex);
    const unsigned round = m_rounds;
    const char byte = 0;
    [[maybe_unused]] const ssize_t written = write(m_wakePipe[1], &byte, 1);
    // A closed socket stays bound while the thread still polls it: the next round no longer does.
    m_settled.wait(lock, [&] { return m_rounds > round || m_stop; });
}

void TcpRelay::cut()
{
    {
        std::lock_guard lock(m_mutex);
        m_cut = true;
        if (m_listener >= 0) {
            close(m_listener);
            m_listener = -1;
        }
        for (const auto& [a, b] : m_pairs) {
            Reset(a);
            Reset(b);
        }
        m_pairs.clear();
    }
    settle();
}

void TcpRelay::restore()
{
    {
        std::lock_guard lock(m_mutex);
        m_cut = false;
        if (m_listener < 0)
            listen();
    }
    settle();
}

void TcpRelay::run()
{
    std::vector<char> buffer(kChunk);
    while (!m_stop) {
        std::vector<pollfd> watched{{m_wakePipe[0], POLLIN, 0}};
        int listener;
        {
            std::lock_guard lock(m_mutex);
            ++m_rounds;
            m_settled.notify_all();
            listener = m_listener;
            if (listener >= 0)
                watched.push_back({listener, POLLIN, 0});
            for (const auto& [a, b] : m_pairs) {
                watched.push_back({a, POLLIN, 0});
                watched.push_back({b, POLLIN, 0});
            }
        }
        if (poll(watched.data(), watched.size(), -1) < 0)
            continue;
        if (watched[0].revents) {
            char drain[64];
            [[maybe_unused]] const ssize_t read = ::read(m_wakePipe[0], drain, sizeof drain);
        }
        std::lock_guard lock(m_mutex);
        for (const pollfd& entry : watched) {
            if (!entry.revents || entry.fd == m_wakePipe[0])
                continue;
            if (entry.fd == listener) {
                if (listener != m_listener || m_cut)
                    continue;
                const int client = accept(listener, nullptr, nullptr);
                if (client < 0)
                    continue;
                const int server = socket(AF_INET, SOCK_STREAM, 0);
                const sockaddr_in target = Loopback(m_targetPort);
                if (connect(server, reinterpret_cast<const sockaddr*>(&target), sizeof target) != 0) {
                    close(server);
                    Reset(client);
                    continue;
                }
                m_pairs.emplace_back(client, server);
                continue;
            }
            // A pair cut meanwhile is gone from the list; its descriptors were closed.
            const auto pair = std::find_if(m_pairs.begin(), m_pairs.end(), [&](const std::pair<int, int>& p) {
                return p.first == entry.fd || p.second == entry.fd;
            });
            if (pair == m_pairs.end())
                continue;
            const int other = pair->first == entry.fd ? pair->second : pair->first;
            const ssize_t got = recv(entry.fd, buffer.data(), buffer.size(), 0);
            if (got <= 0 || !WriteAll(other, buffer.data(), got)) {
                close(pair->first);
                close(pair->second);
                m_pairs.erase(pair);
            }
        }
    }
}

QString ThroughRelay(const QString& location, const TcpRelay& relay)
{
    return QStringLiteral("localhost/%1:%2").arg(relay.port()).arg(location.mid(location.indexOf(QLatin1Char(':')) + 1));
}
