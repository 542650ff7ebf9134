#pragma once

// Qt key events in the terms of the shortcut-key table: accelerator modifier flags and the
// virtual-key codes of the key names, so that theme files keep their bindings.

#include <cstdint>
#include <optional>

class QKeyEvent;

namespace zelvora {

// The key's code in the key-name table; nothing for keys that cannot be bound.
std::optional<std::uint16_t> VirtualKeyOf(const QKeyEvent& event);
// Shift, Ctrl and Alt as accelerator flags (without the virtual-key flag).
std::uint16_t AcceleratorModifiersOf(const QKeyEvent& event);

}  // namespace zelvora
