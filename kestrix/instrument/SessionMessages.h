#pragma once

// What a notice of a session looks like: the window shows it as a message box with this icon.

namespace kestrix::instrument {

enum class MessageIcon { Information, Warning, Error };

} // namespace kestrix::instrument
