#ifndef ENGINE_ENGINEFIXTURE_H
#define ENGINE_ENGINEFIXTURE_H

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>

#include "engine/engine.h"
#include "engine/enginetimings.h"
#include "host/estring.h"
#include "support/hostfixture.h"
#include "support/vlcdouble.h"

// -- Transport-stream packets built in code.

// One 188-byte packet. A packet that starts a PES packet (streamId >= 0) carries
// the start code and the stream id after the adaptation field, when it has one
// of adaptationLength bytes. The rest is filled with fill.
eString tsPacket(int pid, int streamId = -1, int adaptationLength = -1, uint8_t fill = 0xAB);
// A stream of count packets: video PES starts on vpid every 25 packets, audio
// PES starts on apid (stream id audioId) every 10 packets, video payload in
// between; a pid of -1 leaves that kind out. The payload bytes count up, so
// every stretch of the stream is different.
eString tsStream(int count, int vpid = 0x64, int apid = 0xC8, int audioId = 0xC0);

// An endless stream as tsStream makes it, for the double's stream port.
class EndlessStream : public VlcDouble::ByteSource
{
public:
	EndlessStream(int vpid, int apid) : m_vpid(vpid), m_apid(apid) {}
	size_t read(char *buffer, size_t max) override;

private:
	int m_vpid, m_apid;
	eString m_packet;
	size_t m_offset = 0;
	long m_index = 0;
};

// A stream that serves these bytes and ends.
class BytesSource : public VlcDouble::ByteSource
{
public:
	explicit BytesSource(eString bytes) : m_bytes(std::move(bytes)) {}
	size_t read(char *buffer, size_t max) override;

private:
	eString m_bytes;
	size_t m_offset = 0;
};

// A PNG file of width x height opaque pixels.
eString pngFile(int width, int height);

// The engine against the VLC double in a fresh box root, with the real-clock
// waits of the engine shortened. The tear-down stops the engine and checks that
// every thread and stream descriptor was collected.
class EngineFixture : public ::testing::Test
{
protected:
	// The waits the tests run with; generous against a slow machine, short
	// against the defaults.
	static EngineTimings testTimings();

	void SetUp() override;
	void TearDown() override;

	// What the double serves so that the engine's pre-buffer receives exactly
	// payload: the engine drops the stream bytes that come with the answer head.
	static eString served(const eString &payload);
	static size_t droppedWithHead();

	// Settings with the double's ports and setups; buffer size 4 blocks.
	void writeSettings(const eString &setups = eString());
	// Waits for a status the engine reaches by itself.
	bool waitForStatus(int status, int seconds = 30);
	// Waits until pred holds, looking every few milliseconds; false after seconds.
	static bool waitUntil(const std::function<bool()> &pred, int seconds = 30);
	// Runs what worker threads posted to the GUI loop.
	void runPosted();
	// The open descriptors of this process.
	static size_t openDescriptors();
	// The engine has no worker thread and no stream descriptor left.
	static void expectCollected();
	// The contents of /dev/pvr as a plain file, from offset on, and its size.
	eString readPvrFile(size_t offset = 0) const;
	size_t pvrFileSize() const;

	HostFixture host;
	VlcDouble vlc;
	size_t descriptorsBefore = 0;
	eQUELTEngine *engine = eQUELTEngine::getInstance();
	std::unique_ptr<Watchdog> watchdog;
};

#endif
