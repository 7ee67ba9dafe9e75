#pragma once
// A mouse for a headless wlroots compositor, which has no input device of
// its own: a Wayland client speaking the wire protocol directly to create a
// virtual pointer (zwlr_virtual_pointer_manager_v1). Created before the
// program under test starts, so that its seat already has a pointer.
#include <QString>

#include <cstdint>
#include <cstring>
#include <vector>

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace desk {

class VirtualPointer {
public:
    // Connects to `socketPath` ($XDG_RUNTIME_DIR/$WAYLAND_DISPLAY).
    explicit VirtualPointer(const QString& socketPath)
    {
        sockaddr_un address{AF_UNIX, {}};
        const QByteArray path = socketPath.toLocal8Bit();
        std::strncpy(address.sun_path, path.constData(), sizeof(address.sun_path) - 1);
        m_fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (::connect(m_fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
            m_error = QStringLiteral("cannot connect to ") + socketPath;
            return;
        }
        send(kDisplay, 1, {kRegistry}); // wl_display.get_registry
        if (roundTrip() && m_managerName == 0)
            m_error = QStringLiteral("the compositor offers no ") + QLatin1String(kManager);
        if (!m_error.isEmpty())
            return;
        // wl_registry.bind(name, interface, version 1, new id): the interface
        // as a string, its length with the terminating zero, then the bytes
        // padded to whole words.
        const uint32_t length = uint32_t(std::strlen(kManager)) + 1, manager = m_nextId++;
        std::vector<uint32_t> words{m_managerName, length};
        words.resize(2 + (length + 3) / 4);
        std::memcpy(&words[2], kManager, length);
        words.insert(words.end(), {1, manager});
        send(kRegistry, 0, words);
        send(manager, 0, {0, m_pointer = m_nextId++}); // create_virtual_pointer on the default seat
        roundTrip();
    }
    ~VirtualPointer() { ::close(m_fd); }
    Q_DISABLE_COPY(VirtualPointer)

    // Empty once the pointer exists, else why not.
    const QString& error() const { return m_error; }

    // A left click at (x, y) of a `width` x `height` layout (any unit: the
    // compositor maps the fractions onto its output layout). Returns once
    // the compositor has handled it.
    bool click(int x, int y, int width, int height)
    {
        send(m_pointer, 1, {m_time++, uint32_t(x), uint32_t(y), uint32_t(width), uint32_t(height)}); // motion_absolute
        send(m_pointer, 4, {}); // frame
        for (const uint32_t state : {1u, 0u}) {
            send(m_pointer, 2, {m_time++, kButtonLeft, state}); // button
            send(m_pointer, 4, {});
        }
        return m_error.isEmpty() && roundTrip();
    }

private:
    // Object 1 is wl_display; the registry gets the first id of ours.
    static constexpr uint32_t kDisplay = 1, kRegistry = 2;
    static constexpr uint32_t kButtonLeft = 0x110; // BTN_LEFT of linux/input-event-codes.h
    static constexpr const char* kManager = "zwlr_virtual_pointer_manager_v1";

    void send(uint32_t object, uint16_t opcode, const std::vector<uint32_t>& words)
    {
        std::vector<uint32_t> message{object, uint32_t((8 + 4 * words.size()) << 16) | opcode};
        message.insert(message.end(), words.begin(), words.end());
        // A Unix socket takes a message this small whole or not at all.
        const size_t size = message.size() * 4;
        if (m_error.isEmpty() && ::send(m_fd, message.data(), size, MSG_NOSIGNAL) != ssize_t(size))
            m_error = QStringLiteral("the compositor closed the connection");
    }

    // Sends wl_display.sync and reads events until it is answered, noting
    // the virtual pointer manager among the globals.
    bool roundTrip()
    {
        const uint32_t callback = m_nextId++;
        send(kDisplay, 0, {callback}); // wl_display.sync
        std::vector<char> buffer;
        while (m_error.isEmpty()) {
            // Whole messages first: header, then the size it gives.
            uint32_t header[2];
            while (buffer.size() >= 8 && (std::memcpy(header, buffer.data(), 8), buffer.size() >= (header[1] >> 16))) {
                const size_t size = header[1] >> 16;
                if (size < 8)
                    return m_error = QStringLiteral("a malformed message"), false;
                std::vector<uint32_t> args((size - 8) / 4 + 1); // a zero after the last word
                std::memcpy(args.data(), buffer.data() + 8, size - 8);
                buffer.erase(buffer.begin(), buffer.begin() + std::ptrdiff_t(size));
                const uint32_t object = header[0], opcode = header[1] & 0xffff;
                if (object == callback && opcode == 0) // wl_callback.done
                    return true;
                if (args.size() <= 3) // the events below have more words
                    continue;
                if (object == kDisplay && opcode == 0) // wl_display.error
                    return m_error = "protocol error: " + QString::fromUtf8(reinterpret_cast<const char*>(&args[3])), false;
                if (object == kRegistry && opcode == 0 && std::strcmp(reinterpret_cast<const char*>(&args[2]), kManager) == 0)
                    m_managerName = args[0]; // wl_registry.global
            }
            pollfd p{m_fd, POLLIN, 0};
            char chunk[4096];
            const ssize_t n = ::poll(&p, 1, 30000) == 1 ? ::recv(m_fd, chunk, sizeof(chunk), 0) : 0;
            if (n <= 0)
                m_error = QStringLiteral("no answer from the compositor");
            buffer.insert(buffer.end(), chunk, chunk + std::max<ssize_t>(n, 0));
        }
        return false;
    }

    int m_fd = -1;
    uint32_t m_nextId = 3; // 1 is wl_display, 2 the registry
    uint32_t m_pointer = 0, m_time = 1, m_managerName = 0;
    QString m_error;
};

} // namespace desk
