#ifndef BOX_QUITCODES_H
#define BOX_QUITCODES_H

// What the host application's quit codes mean, and how the box ends for each.
// The plug-in ends a play list with one of the receiver's codes: 2 restarts the
// GUI, 4 restarts the receiver, 0 switches it off. The box cannot do any of that,
// so it ends with a status that names the action.
namespace BoxQuit
{
// Quit codes of the box's own (outside the receiver's range).
constexpr int scriptQuit = 0;
constexpr int scriptEnded = 100;

struct Outcome
{
	int status;
	const char *message;
};

// Exit statuses: 0 the key script said quit or ran out; 10 switch off;
// 12 restart the GUI; 14 restart the receiver; 1 any other code.
Outcome outcome(int quitCode, bool quitByScript);
} // namespace BoxQuit

#endif
