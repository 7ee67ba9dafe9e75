#pragma once
// A mouse for a headless wlroots compositor, which has no input device of
// its own: a Wayland client speaking the wire protocol directly to create a
// virtual pointer (zwlr_virtual_pointer_manager_v1). Created before the
// program under test starts, so that its seat already has a pointer.
#include <QString>

#include <cstdint>
#include <vector>

namespace desk {

class VirtualPointer {
public:
    // Connects to `socketPath` ($XDG_RUNTIME_DIR/$WAYLAND_DISPLAY).
    explicit VirtualPointer(const QString& socketPath);
    ~VirtualPointer();
    VirtualPointer(const VirtualPointer&) = delete;
    VirtualPointer& operator=(const VirtualPointer&) = delete;

    // Empty once the pointer exists, else why not.
    const QString& error() const { return m_error; }

    // A left click at (x, y) of a `width` x `height` layout (any unit: the
    // compositor maps the fractions onto its output layout). Returns once
    // the compositor has handled it.
    bool click(int x, int y, int width, int height);

private:
    void send(uint32_t object, uint16_t opcode, const std::vector<uint32_t>& words);
    // Sends wl_display.sync and reads events until it is answered,
    // noting the virtual pointer manager among the globals.
    bool roundTrip();

    int m_fd = -1;
    uint32_t m_nextId = 3; // 1 is wl_display, 2 the registry
    uint32_t m_pointer = 0;
    uint32_t m_time = 1;
    uint32_t m_managerName = 0;
    QString m_error;
};

} // namespace desk
