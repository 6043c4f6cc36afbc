#include "box/boxoptions.h"

#include <cstring>

const char *BoxOptions::usage()
{
	return "usage: quelt-box --root DIR [--headless] [--keys FILE|-] [--snapshots DIR] [--plugin PATH]\n"
	       "                 [--log FILE] [--scale 1|2]\n";
}

bool BoxOptions::parse(int argc, char **argv, std::string &error)
{
	for (int i = 1; i < argc; ++i)
	{
		std::string a = argv[i];
		auto value = [&](std::string &out) {
			if (i + 1 >= argc)
			{
				error = a + " needs a value";
				return false;
			}
			out = argv[++i];
			return true;
		};
		if (a == "--root")
		{
			if (!value(root))
				return false;
		}
		else if (a == "--headless")
			headless = true;
		else if (a == "--keys")
		{
			if (!value(keys))
				return false;
		}
		else if (a == "--snapshots")
		{
			if (!value(snapshots))
				return false;
		}
		else if (a == "--plugin")
		{
			if (!value(plugin))
				return false;
		}
		else if (a == "--log")
		{
			if (!value(logFile))
				return false;
		}
		else if (a == "--scale")
		{
			std::string s;
			if (!value(s))
				return false;
			if (s != "1" && s != "2")
			{
				error = "--scale takes 1 or 2";
				return false;
			}
			scale = s[0] - '0';
		}
		else
		{
			error = "unknown option " + a;
			return false;
		}
	}
	if (root.empty())
	{
		error = "--root is required";
		return false;
	}
	return true;
}

std::string BoxOptions::pluginPath() const
{
	if (!plugin.empty())
		return plugin;
	std::string r = root;
	while (r.size() > 1 && r.back() == '/')
		r.pop_back();
	return r + "/var/tuxbox/plugins/quelt.so";
}
