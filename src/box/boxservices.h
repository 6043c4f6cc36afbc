#ifndef BOX_BOXSERVICES_H
#define BOX_BOXSERVICES_H

#include <memory>
#include <string>

class eSkin;

// The receiver's services as the box offers them, bound to one box root: the path
// mapping, the configuration store, the active skin, the recording-timer list, the
// volume switch and the live service. Tests use it as the headless host too.
class BoxServices
{
public:
	BoxServices();
	~BoxServices();
	BoxServices(const BoxServices &) = delete;
	BoxServices &operator=(const BoxServices &) = delete;

	// The skin the box runs with when the store names none.
	static const char *defaultSkin;
	// The live service the box plays before the plug-in takes over.
	static const char *liveServiceName;

	// Binds every service to root. False with error set when the root is unusable;
	// a missing or broken skin or store is logged and the box runs on without it.
	bool start(const std::string &root, std::string &error);
	// Writes the configuration store back.
	void stop();

	eSkin *skin() const { return m_skin.get(); }

	// The number of entries in the root's timer list (lines holding "#TIME_BEGIN").
	static int countTimerEntries(const std::string &timerListPath);

private:
	std::unique_ptr<eSkin> m_skin;
	bool m_started = false;
};

#endif
