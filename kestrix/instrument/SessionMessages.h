#pragma once

// What a notice of a session looks like: the window shows it as a message box with this icon.

namespace kestrix {

enum class MessageIcon { Information, Warning, Error };

} // namespace kestrix
