// The window system's own window menu, where the platform lets a program
// extend it (Windows): the About item is appended there and its command
// comes back as a native message.
#pragma once

#include <QByteArray>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <optional>

namespace vellicor::dialog {

// Appends a separator and an item with text and command to window's native
// window menu; does nothing where there is none or when text is empty.
void extend_native_window_menu(QWidget& window, const QString& text, std::uint32_t command);

// The command value of a native window-menu message, or nothing for any other
// message (and on platforms without one).
std::optional<std::uint32_t> native_window_menu_command(const QByteArray& event_type,
                                                        void* message);

}  // namespace vellicor::dialog
