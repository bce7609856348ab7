// What DPF needs to know of the plugin at compile time: names, ports and the
// features its wrappers build in. The names are the ones users and hosts
// see; hosts find the plugin by the LV2 URI, the CLAP id and the VST3 class
// made from getUniqueId.
#pragma once

#define DISTRHO_PLUGIN_BRAND "Kylvander"
#define DISTRHO_PLUGIN_NAME "Kylvander Synth"
#define DISTRHO_PLUGIN_URI "urn:kylvander:synth"
#define DISTRHO_PLUGIN_CLAP_ID "kylvander.synth"

#define DISTRHO_PLUGIN_HAS_UI 0
#define DISTRHO_PLUGIN_IS_RT_SAFE 1
#define DISTRHO_PLUGIN_IS_SYNTH 1
#define DISTRHO_PLUGIN_NUM_INPUTS 0
#define DISTRHO_PLUGIN_NUM_OUTPUTS 2
#define DISTRHO_PLUGIN_WANT_LATENCY 1
#define DISTRHO_PLUGIN_WANT_STATE 1
#define DISTRHO_PLUGIN_WANT_TIMEPOS 1

#define DISTRHO_PLUGIN_LV2_CATEGORY "lv2:InstrumentPlugin"
#define DISTRHO_PLUGIN_VST3_CATEGORIES "Instrument|Synth|Stereo"
#define DISTRHO_PLUGIN_CLAP_FEATURES "instrument", "synthesizer", "stereo"
