#ifndef CONFIG_CONFIGKEYS_H
#define CONFIG_CONFIGKEYS_H

// The keys of the receiver's configuration store that the plug-in reads or
// writes, by name, so no reader or writer spells a path twice.
namespace configkey
{
// The plug-in's own preferences.
inline constexpr char checkset[] = "/enigma/plugins/quelt/checkset";
inline constexpr char buffersize[] = "/enigma/plugins/quelt/buffersize";
inline constexpr char autoplay[] = "/enigma/plugins/quelt/autoplay";
inline constexpr char autoinfo[] = "/enigma/plugins/quelt/autoinfo";
inline constexpr char infodelay[] = "/enigma/plugins/quelt/infodelay";
inline constexpr char volume[] = "/enigma/plugins/quelt/volume";
inline constexpr char lastPath[] = "/enigma/plugins/quelt/lastPath";
inline constexpr char lastmode[] = "/enigma/plugins/quelt/lastmode";
// Left behind by older versions; the settings window removes them.
inline constexpr char mainOS[] = "/enigma/plugins/quelt/mainOS";
inline constexpr char vlcVersion[] = "/enigma/plugins/quelt/vlcVersion";

// The receiver's own keys: read, never written.
inline constexpr char ac3default[] = "/elitedvb/audio/ac3default";
inline constexpr char ezapOffsetX[] = "/extras/ezap_offset_x";
inline constexpr char ezapOffsetY[] = "/extras/ezap_offset_y";
inline constexpr char skin[] = "/ezap/ui/skin";
} // namespace configkey

// Defaults that every reader of a key shares. Keys whose default depends on the
// reader (autoplay, autoinfo, infodelay) keep theirs at the reading site.
namespace configdefault
{
inline constexpr int checkset = 1;
// The pre-buffer size in stream blocks, and the range outside which a stored
// value is read as the default.
inline constexpr int buffersize = 16;
inline constexpr int buffersizeMin = 4;
inline constexpr int buffersizeMax = 25;
// The receiver's attenuation scale runs from 0 (loudest) to 63 (silent).
inline constexpr int volume = 31;
} // namespace configdefault

#endif
