#pragma once

// The application's title: the About box, the application name, and the title of every box that has
// none of its own.
inline constexpr char kProgramTitle[] = "Tolvane";
