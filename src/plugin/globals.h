#ifndef PLUGIN_GLOBALS_H
#define PLUGIN_GLOBALS_H

#include "config/equeltconfig.h"
#include "host/estring.h"

class eLabel;

// The plug-in's process-wide state, shared between the main window, its key
// handling, the browser, the playback session, the info line and the timer guard.
// All of it lives on the GUI thread: the engine's worker threads never touch it,
// so these are plain variables. Their definitions hold the values the plug-in is
// loaded with; resetPluginGlobals() restores them.

// -- Connection to VLC and the request parameters.
extern bool CONNECTION;                // a server set is configured and VLC answered
extern serverConfig_stream server;     // copy of the active server set
extern eString send_parms[10];         // ip, web port, stream port, "user:pass"
extern eString startdir;               // directory the red key lists
extern eString cddrive;                // the PC's disc drive
extern eString l_path;                 // directory remembered for the next start
extern eString lastDir;                // first directory listed at start-up

// -- Playing.
extern eString loadFile;               // name of the entry playing (or chosen)
extern eString nextFile;               // name of the entry after it, or "Playlist End"
extern int AUTOPLAY;                   // 1: play the following file when one ends
extern int AUTOINFO;                   // 1: show the info line during playback
extern int INFODELAY;                  // ms from a start to the first info line
extern bool started;                   // a start has been asked for
extern bool waitStart;                 // starts wait for waitTimer after a stop
extern int startHour, startMin;        // receiver time of the last start
extern eString startTime;              // that time as the infobar shows it, "%02d:%02d"
extern eString nextTime;               // projected end of the file; "XX:XX" until an infobar
extern int shutDown;                   // end-of-list action: 0 none, 1 GUI, 2 box, 3 off

// -- Seeking and skipping.
extern int jump;                       // seek distance in minutes
extern int jump_old;                   // distance last confirmed to the viewer
extern bool jump_changed;              // a confirmation box is due
extern bool seekskip;                  // red and blue skip files instead of seeking
extern int JumpInMinutes;              // distance shown by the infobar
extern bool sMode;                     // mode shown by the infobar: true skip
extern bool info_menu;
extern int seek;                       // minutes sought in this stream
extern bool AC_3;                      // the AC3 audio type is selected

// -- Recording-timer guard.
extern int TIMEREVENT;                 // 0 nothing due, 1 due within 8 min, 3 running
extern bool startUp;                   // the guard's first run is still to come

// -- Volume and pause.
extern int quelt_volume;               // the plug-in's volume, 0 loudest .. 63 silent
extern int tv_volume;                  // the television's volume, handed back on exit
extern int volu, currVol;              // the volume the bar shows
extern bool paused;                    // a resume waits for the next supervision tick
extern bool volumeIsVisible;
extern bool isGemini;                  // the Gemini image's volume picture is used
extern int p_x, p_y;                   // position of the volume bar
extern int w_x, w_y;                   // size of the Gemini volume bar

// -- Screen.
extern int fd;                         // font size from the skin
extern bool infoIsVisible;             // an infobar is up
extern bool i_isVisible;               // the info line is shown
extern eLabel *l_root, *l_svcd, *l_vcd, *l_dvd; // the four colour-key labels
extern eLabel *info;                   // the timed info line
extern eLabel *Info;                   // a large label that is never shown
extern eString active_skin;            // the receiver's skin path
extern bool f_support;                 // the skin is blueline or vizta
extern bool hasPicon;                  // the logo configuration was read
extern int posx, posy;                 // where the logo goes
extern bool formatted_skin;            // a skin-specific logo position was found

// Puts every global above back to the value the plug-in is loaded with, as a fresh
// load of the plug-in would. The widgets they point to are not deleted here: the
// main window owns them.
void resetPluginGlobals();

#endif
