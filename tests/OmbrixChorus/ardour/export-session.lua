-- A headless Ardour session with Ombrix Chorus on a stereo track: a steady
-- test tone into the chorus, exported twice, once with the chorus switched
-- off by Ardour's bypass (the plug-in's enable port) and once with a factory
-- preset loaded from the bundle. The folder comes from OMBRIX_SESSION_FOLDER.
local folder = assert (os.getenv ("OMBRIX_SESSION_FOLDER"), "OMBRIX_SESSION_FOLDER is not set")
local uri = "https://tervane.com/plugins/ombrix-chorus"
local rate = 48000
local seconds = 2

assert (AudioEngine:set_backend ("None (Dummy)", "", ""), "no dummy audio backend")
local session = assert (create_session (folder .. "/session", "ombrix-chorus", rate), "cannot create a session")

local track = session:new_audio_track (2, 2, nil, 1, "Chorus", ARDOUR.PresentationInfo.max_order,
	ARDOUR.TrackMode.Normal, true):front ()
local tone = ARDOUR.LuaAPI.new_luaproc (session, "Ombrix Test Tone")
assert (not tone:isnil (), "the test tone script is not found")
assert (track:add_processor_by_index (tone, 0, nil, true) == 0)
local chorus = ARDOUR.LuaAPI.new_plugin (session, uri, ARDOUR.PluginType.LV2, "")
assert (not chorus:isnil (), "Ardour does not find " .. uri)
assert (track:add_processor_by_index (chorus, 1, nil, true) == 0)

local plugin = chorus:to_insert ():plugin (0)
print ("plug-in: " .. plugin:name ())
local presets = 0
for preset in plugin:get_info ():get_presets (false):iter () do
	presets = presets + 1
end
print ("presets: " .. presets)

local function export (name)
	local job = session:simple_export ()
	job:set_folder (folder .. "/export")
	job:set_name (name)
	job:set_range (0, rate * seconds)
	-- ombrix-float.preset: Ardour's 32-bit float WAV format, without the
	-- loudness analysis its other WAV presets run.
	assert (job:set_preset ("0b5c3e8e-5d0a-4c49-9a36-0c2f7d3b6a11"), "no float WAV export preset")
	assert (job:check_outputs (), "nothing to export")
	assert (job:run_export (), "the export of " .. name .. " failed")
	print ("exported: " .. name)
end

-- Ardour's view of the ports: controls in, the values in use out.
for i = 0, plugin:parameter_count () - 1 do
	if plugin:parameter_is_control (i) then
		print ((plugin:parameter_is_input (i) and "control: " or "output: ") .. plugin:parameter_label (i))
	end
end

chorus:to_insert ():enable (false)
print ("Chorus On/Off while bypassed: " .. tostring (ARDOUR.LuaAPI.get_processor_param (chorus, 0)))
export ("bypassed")
chorus:to_insert ():enable (true)
local preset = plugin:preset_by_label ("Deep Flange")
assert (preset and preset.valid, "no preset Deep Flange")
assert (plugin:load_preset (preset), "Deep Flange does not load")
export ("deep-flange")

session:save_state ("", false, false, false, false, false)
close_session ()
