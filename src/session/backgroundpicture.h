#ifndef SESSION_BACKGROUNDPICTURE_H
#define SESSION_BACKGROUNDPICTURE_H

// The plug-in's still picture, which the receiver's picture tool shows behind
// the on-screen display while nothing plays.
namespace backgroundpicture
{
inline constexpr char picture[] = "/var/tuxbox/config/enigma/pictures/quelt/quelt.mvi";
inline constexpr char tool[] = "/var/bin/showiframe";

// Starts the picture tool with the picture when the picture exists, and returns
// without waiting for it; the tool's outcome is not looked at. The tool is
// collected by the GUI loop once it has ended. GUI thread only.
void show();
} // namespace backgroundpicture

#endif
