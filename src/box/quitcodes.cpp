#include "box/quitcodes.h"

namespace BoxQuit
{
Outcome outcome(int quitCode, bool quitByScript)
{
	if (quitCode == scriptEnded)
		return {0, "key script finished; plug-in left running"};
	if (quitByScript && quitCode == scriptQuit)
		return {0, "quit by the key script"};
	switch (quitCode)
	{
	case 0:
		return {10, "the plug-in switched the receiver off (quit code 0)"};
	case 2:
		return {12, "the plug-in restarted the GUI (quit code 2)"};
	case 4:
		return {14, "the plug-in restarted the receiver (quit code 4)"};
	default:
		return {1, "the plug-in quit with an unknown code"};
	}
}
} // namespace BoxQuit
