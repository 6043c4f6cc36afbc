// quelt-box: an emulated Enigma receiver that loads a plug-in and runs it.

#include <sys/stat.h>

#include <csignal>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "box/boxdecoder.h"
#include "box/boxoptions.h"
#include "box/boxscreen.h"
#include "box/boxservices.h"
#include "box/keyscript.h"
#include "box/pluginloader.h"
#include "box/quitcodes.h"
#include "box/scriptrunner.h"
#include "host/actions.h"
#include "host/eavswitch.h"
#include "host/log.h"
#include "host/mainloop.h"
#include "host/paths.h"

namespace
{
// Volume keys go to the receiver's volume switch; 0 is loudest, so "+" lowers the value.
void handleVolumeKey(RcKey key)
{
	eAVSwitch *av = eAVSwitch::getInstance();
	if (key == RcKey::volumeUp)
		av->changeVolume(eAVSwitch::modeRelative, -4);
	else if (key == RcKey::volumeDown)
		av->changeVolume(eAVSwitch::modeRelative, 4);
	else if (key == RcKey::mute)
		av->toggleMute();
}
} // namespace

int main(int argc, char **argv)
{
	BoxOptions options;
	std::string error;
	if (!options.parse(argc, argv, error))
	{
		fprintf(stderr, "quelt-box: %s\n%s", error.c_str(), BoxOptions::usage());
		return 64;
	}
	if (!options.logFile.empty() && !hostlog::setLogFile(options.logFile.c_str()))
	{
		fprintf(stderr, "quelt-box: cannot write log file %s\n", options.logFile.c_str());
		return 64;
	}

	KeyScript script;
	if (!options.keys.empty())
	{
		script = KeyScript::load(options.keys);
		if (!script.errors.empty())
		{
			for (const auto &e : script.errors)
				fprintf(stderr, "quelt-box: key script %s: %s\n", options.keys.c_str(), e.c_str());
			return 64;
		}
	}
	if (!options.snapshots.empty() && mkdir(options.snapshots.c_str(), 0755) != 0 && errno != EEXIST)
	{
		fprintf(stderr, "quelt-box: cannot make snapshot folder %s: %s\n", options.snapshots.c_str(), strerror(errno));
		return 64;
	}
	eMainloop loop;
	eApp = &loop;

	BoxServices services;
	if (!services.start(options.root, error))
	{
		fprintf(stderr, "quelt-box: %s\n", error.c_str());
		return 66;
	}
	KeyRouter::setVolumeHandler(handleVolumeKey);

	// A peer that goes away must show up as an error on the write, not end the box.
	signal(SIGPIPE, SIG_IGN);
	BoxDecoder decoder;
	if (!decoder.start())
	{
		fprintf(stderr, "quelt-box: %s\n", decoder.error().c_str());
		services.stop();
		return 66;
	}
	Decoder::setBackend(&decoder);

	// Made after the decoder, so it is gone (and has let go of the decoder's hooks)
	// before the decoder is.
	BoxScreen screen(&loop);
	BoxScreen::Mode mode = screen.start(options.headless, options.scale);
	screen.setSnapshotFolder(options.snapshots);
	std::string stillSocket = hostPath("/dev/video");
	if (!screen.listenForStillPictures(stillSocket, error))
		eWarning("[box] no still pictures: %s", error.c_str());
	screen.attachDecoder(&decoder);
	bool windowClosed = false;
	screen.windowClosed = [&] {
		if (loop.quitRequested())
			return;
		windowClosed = true;
		loop.quit(BoxQuit::scriptQuit);
	};

	std::unique_ptr<ScriptRunner> runner;
	if (!script.commands.empty() || !options.keys.empty())
	{
		runner = std::make_unique<ScriptRunner>(&loop, script, [&](const std::string &name) { screen.writeSnapshot(options.snapshots, name); });
		// Headless, nobody is left to press a key once the script has run out:
		// end the run rather than wait for ever. In a window the person goes on.
		if (mode == BoxScreen::Mode::headless)
			runner->onFinished = [&] {
				loop.post([&] {
					if (!loop.quitRequested())
					{
						eDebug("[box] key script finished");
						loop.quit(BoxQuit::scriptEnded);
					}
				});
			};
	}

	PluginLoader plugin;
	std::string pluginPath = options.pluginPath();
	if (!plugin.load(pluginPath))
	{
		fprintf(stderr, "quelt-box: %s\n", plugin.error().c_str());
		Decoder::setBackend(nullptr);
		services.stop();
		return 69;
	}
	eDebug("[box] starting plug-in %s (%s)", pluginPath.c_str(), plugin.description().count("name") ? plugin.description().at("name").c_str() : "?");

	int result = plugin.entry()(nullptr);
	eDebug("[box] plugin_exec returned %d", result);

	bool quitByScript = runner && runner->quitRequested();
	runner.reset();
	Decoder::setBackend(nullptr);
	decoder.stop();
	eDebug("[box] decoder: %llu video frames, %llu audio frames, %llu errors", (unsigned long long)decoder.videoFrames(),
	       (unsigned long long)decoder.audioFrames(), (unsigned long long)decoder.errors());
	KeyRouter::setVolumeHandler(nullptr);
	services.stop();
	eApp = nullptr;

	int status = 0;
	if (windowClosed)
		fprintf(stderr, "quelt-box: the window was closed\n");
	else if (loop.quitRequested())
	{
		BoxQuit::Outcome outcome = BoxQuit::outcome(loop.quitCode(), quitByScript);
		fprintf(stderr, "quelt-box: %s\n", outcome.message);
		status = outcome.status;
	}
	return status;
}
