#include "box/pluginloader.h"

#include <dlfcn.h>

#include <fstream>

PluginLoader::~PluginLoader()
{
	// The plug-in's code may still be referenced by callbacks that outlive it in
	// a sanitizer's reports; unloading gains nothing at exit, so keep it mapped.
}

std::map<std::string, std::string> PluginLoader::readDescription(const std::string &cfgPath)
{
	std::map<std::string, std::string> d;
	std::ifstream f(cfgPath);
	std::string line;
	while (std::getline(f, line))
	{
		size_t eq = line.find('=');
		if (eq == std::string::npos || eq == 0)
			continue;
		std::string value = line.substr(eq + 1);
		if (!value.empty() && value.back() == '\r')
			value.pop_back();
		d[line.substr(0, eq)] = value;
	}
	return d;
}

bool PluginLoader::load(const std::string &soPath)
{
	std::string cfg = soPath;
	size_t dot = cfg.rfind('.');
	size_t slash = cfg.rfind('/');
	if (dot != std::string::npos && (slash == std::string::npos || dot > slash))
		cfg.erase(dot);
	cfg += ".cfg";
	m_description = readDescription(cfg);

	m_handle = dlopen(soPath.c_str(), RTLD_NOW | RTLD_LOCAL);
	if (!m_handle)
	{
		const char *e = dlerror();
		m_error = "cannot load plug-in " + soPath + ": " + (e ? e : "unknown error");
		return false;
	}
	m_entry = reinterpret_cast<Entry>(dlsym(m_handle, "plugin_exec"));
	if (!m_entry)
	{
		m_error = "plug-in " + soPath + " has no plugin_exec";
		return false;
	}
	return true;
}
