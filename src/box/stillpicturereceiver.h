#ifndef BOX_STILLPICTURERECEIVER_H
#define BOX_STILLPICTURERECEIVER_H

#include <functional>
#include <string>
#include <thread>

#include "box/picturestore.h"
#include "box/wakeevent.h"

// The box's end of the still-picture tool: a UNIX stream socket in the box root
// (the receiver's video device, /dev/video) that var/bin/showiframe writes a
// still picture into. The plug-in runs the tool from its GUI thread and may wait
// for it, so the picture is taken and decoded on a thread of its own; the GUI loop
// never has to turn for the tool to finish.
//
// The tool connects, writes the picture, shuts its side down and reads one byte:
// '0' when the box shows the picture, '1' when the bytes held none.
class StillPictureReceiver
{
public:
	// Called on the receiver's thread with each picture; it must return promptly
	// (the box posts the picture to its GUI loop).
	using Delivery = std::function<void(DecodedPicture)>;

	StillPictureReceiver();
	~StillPictureReceiver();
	StillPictureReceiver(const StillPictureReceiver &) = delete;
	StillPictureReceiver &operator=(const StillPictureReceiver &) = delete;

	// Listens at path (an old socket there is replaced) and starts the thread.
	// False with error() when the socket cannot be made.
	bool start(const std::string &path, Delivery delivery);
	// Ends the thread and removes the socket; safe to call twice.
	void stop();
	const std::string &error() const { return m_error; }

private:
	void run();
	void serve(int connection);
	// Reads until the writer's end, the size limit, a stop or a writer that stalls.
	bool readAll(int connection, std::string &data);

	std::string m_path;
	std::string m_error;
	Delivery m_delivery;
	int m_listen = -1;
	WakeEvent m_stop;
	std::thread m_thread;
};

#endif
