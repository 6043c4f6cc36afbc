#ifndef BOX_PLUGINLOADER_H
#define BOX_PLUGINLOADER_H

#include <map>
#include <string>

// Loads a plug-in shared library as the receiver does: the plug-in folder holds
// NAME.so and NAME.cfg, a "key=value" description (name, desc, needfb, ...).
class PluginLoader
{
public:
	using Entry = int (*)(void *);

	~PluginLoader();

	// Reads the description beside the library (a missing one is not an error) and
	// loads the library. Returns false with error() telling why.
	bool load(const std::string &soPath);
	Entry entry() const { return m_entry; }
	const std::map<std::string, std::string> &description() const { return m_description; }
	const std::string &error() const { return m_error; }

	static std::map<std::string, std::string> readDescription(const std::string &cfgPath);

private:
	void *m_handle = nullptr;
	Entry m_entry = nullptr;
	std::map<std::string, std::string> m_description;
	std::string m_error;
};

#endif
