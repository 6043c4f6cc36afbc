#ifndef BOX_BOXOPTIONS_H
#define BOX_BOXOPTIONS_H

#include <string>

// The box's command line:
//   quelt-box --root DIR [--headless] [--keys FILE|-] [--snapshots DIR] [--plugin PATH]
//             [--log FILE] [--scale 1|2]
struct BoxOptions
{
	std::string root;
	bool headless = false;
	std::string keys;
	std::string snapshots;
	std::string plugin; // empty: var/tuxbox/plugins/quelt.so in the root
	std::string logFile;
	int scale = 1;

	// Fills the options; on a bad command line returns false with error set.
	bool parse(int argc, char **argv, std::string &error);
	std::string pluginPath() const;
	static const char *usage();
};

#endif
