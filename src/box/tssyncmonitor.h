#ifndef BOX_TSSYNCMONITOR_H
#define BOX_TSSYNCMONITOR_H

#include <cstddef>
#include <cstdint>

// Follows the 188-byte packet grid of a transport stream as a receiver's demux does
// and counts each loss of sync: a packet boundary without the sync byte 0x47. After
// a loss it hunts for the next sync byte and locks onto it.
class TsSyncMonitor
{
public:
	static constexpr size_t packetSize = 188;
	static constexpr uint8_t syncByte = 0x47;

	// A new stream begins: bytes before its first sync byte are not counted, since
	// a writer may start or resume in the middle of a packet.
	void reset();
	// Feeds the next bytes of the stream; returns the losses of sync found in them.
	unsigned feed(const uint8_t *data, size_t size);

private:
	bool m_locked = false;
	size_t m_toBoundary = 0; // bytes up to the next packet boundary, when locked
};

#endif
