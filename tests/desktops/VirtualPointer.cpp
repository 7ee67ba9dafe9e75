#include "desktops/VirtualPointer.h"

#include <cstring>

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace desk {

namespace {

// Object 1 is wl_display; the registry gets the first id of ours.
constexpr uint32_t kDisplay = 1;
constexpr uint32_t kRegistry = 2;
constexpr uint32_t kButtonLeft = 0x110; // BTN_LEFT of linux/input-event-codes.h
const char* const kManager = "zwlr_virtual_pointer_manager_v1";

} // namespace

VirtualPointer::VirtualPointer(const QString& socketPath)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray path = socketPath.toLocal8Bit();
    if (size_t(path.size()) < sizeof(address.sun_path))
        std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    m_fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (m_fd < 0 || ::connect(m_fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
        m_error = QStringLiteral("cannot connect to ") + socketPath;
        return;
    }
    send(kDisplay, 1, {kRegistry}); // wl_display.get_registry
    if (!roundTrip())
        return;
    if (m_managerName == 0) {
        m_error = QStringLiteral("the compositor offers no ") + QLatin1String(kManager);
        return;
    }
    // wl_registry.bind(name, interface, version 1, new id): the interface
    // as a string, its length with the terminating zero, then the bytes
    // padded to whole words.
    const uint32_t length = uint32_t(std::strlen(kManager)) + 1;
    std::vector<uint32_t> words{m_managerName, length};
    words.resize(2 + (length + 3) / 4);
    std::memcpy(&words[2], kManager, length);
    const uint32_t manager = m_nextId++;
    words.insert(words.end(), {1, manager});
    send(kRegistry, 0, words);
    m_pointer = m_nextId++;
    send(manager, 0, {0, m_pointer}); // create_virtual_pointer on the default seat
    roundTrip();
}

VirtualPointer::~VirtualPointer()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

void VirtualPointer::send(uint32_t object, uint16_t opcode, const std::vector<uint32_t>& words)
{
    std::vector<uint32_t> message{object, uint32_t((8 + 4 * words.size()) << 16) | opcode};
    message.insert(message.end(), words.begin(), words.end());
    const char* data = reinterpret_cast<const char*>(message.data());
    size_t left = message.size() * 4;
    while (left > 0 && m_error.isEmpty()) {
        const ssize_t n = ::send(m_fd, data, left, MSG_NOSIGNAL);
        if (n <= 0)
            m_error = QStringLiteral("the compositor closed the connection");
        else
            data += n, left -= size_t(n);
    }
}

bool VirtualPointer::roundTrip()
{
    const uint32_t callback = m_nextId++;
    send(kDisplay, 0, {callback}); // wl_display.sync
    std::vector<char> buffer;
    while (m_error.isEmpty()) {
        // Whole messages first: header, then the size it gives.
        while (buffer.size() >= 8) {
            uint32_t header[2];
            std::memcpy(header, buffer.data(), 8);
            const size_t size = header[1] >> 16;
            if (size < 8) {
                m_error = QStringLiteral("a malformed message");
                return false;
            }
            if (buffer.size() < size)
                break;
            std::vector<uint32_t> args((size - 8) / 4);
            std::memcpy(args.data(), buffer.data() + 8, size - 8);
            buffer.erase(buffer.begin(), buffer.begin() + std::ptrdiff_t(size));
            const uint32_t object = header[0];
            const uint16_t opcode = header[1] & 0xffff;
            if (object == kDisplay && opcode == 0) { // wl_display.error
                const char* text = args.size() > 3 ? reinterpret_cast<const char*>(&args[3]) : "";
                m_error = QStringLiteral("protocol error: ") + QString::fromUtf8(text);
                return false;
            }
            if (object == kRegistry && opcode == 0 && args.size() >= 3) { // wl_registry.global
                const char* interface = reinterpret_cast<const char*>(&args[2]);
                if (std::strncmp(interface, kManager, (args.size() - 2) * 4) == 0)
                    m_managerName = args[0];
            }
            if (object == callback && opcode == 0) // wl_callback.done
                return true;
        }
        pollfd p{m_fd, POLLIN, 0};
        char chunk[4096];
        const ssize_t n = ::poll(&p, 1, 30000) == 1 ? ::recv(m_fd, chunk, sizeof(chunk), 0) : 0;
        if (n <= 0)
            m_error = QStringLiteral("no answer from the compositor");
        else
            buffer.insert(buffer.end(), chunk, chunk + n);
    }
    return false;
}

bool VirtualPointer::click(int x, int y, int width, int height)
{
    if (!m_error.isEmpty())
        return false;
    send(m_pointer, 1, {m_time++, uint32_t(x), uint32_t(y), uint32_t(width), uint32_t(height)}); // motion_absolute
    send(m_pointer, 4, {}); // frame
    for (const uint32_t state : {1u, 0u}) {
        send(m_pointer, 2, {m_time++, kButtonLeft, state}); // button
        send(m_pointer, 4, {});
    }
    return roundTrip();
}

} // namespace desk
