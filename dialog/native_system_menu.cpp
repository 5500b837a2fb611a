// The native window menu: Win32 calls on Windows, nothing elsewhere (there the
// same item lives in the window's context menu).
#include "dialog/native_system_menu.hpp"

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace vellicor::dialog {

#ifdef Q_OS_WIN

void extend_native_window_menu(QWidget& window, const QString& text, std::uint32_t command) {
  HMENU menu = GetSystemMenu(reinterpret_cast<HWND>(window.winId()), FALSE);
  if (menu == nullptr || text.isEmpty()) return;
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_STRING, command, reinterpret_cast<LPCWSTR>(text.utf16()));
}

std::optional<std::uint32_t> native_window_menu_command(const QByteArray& event_type,
                                                        void* message) {
  if (event_type != "windows_generic_MSG" || message == nullptr) return std::nullopt;
  const MSG* native = static_cast<const MSG*>(message);
  if (native->message != WM_SYSCOMMAND) return std::nullopt;
  return static_cast<std::uint32_t>(native->wParam);
}

#else

void extend_native_window_menu(QWidget&, const QString&, std::uint32_t) {}

std::optional<std::uint32_t> native_window_menu_command(const QByteArray&, void*) {
  return std::nullopt;
}

#endif

}  // namespace vellicor::dialog
