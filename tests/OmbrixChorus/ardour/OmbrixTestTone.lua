ardour {
	["type"]    = "dsp",
	name        = "Ombrix Test Tone",
	category    = "Utility",
	license     = "MIT",
	author      = "Tervane Sound Design",
	description = [[A steady test signal for the chorus's session test: 220 Hz on the left, 330 Hz on the right.]]
}

function dsp_ioconfig ()
	return { { audio_in = 2, audio_out = 2 } }
end

local rate = 48000
local position = 0

function dsp_init (sampleRate)
	rate = sampleRate
end

function dsp_run (ins, outs, n_samples)
	local frequencies = { 220, 330 }
	for c = 1, #outs do
		local out = outs[c]:array ()
		local step = 2 * math.pi * frequencies[c] / rate
		for i = 1, n_samples do
			out[i] = 0.25 * math.sin (step * (position + i - 1))
		end
	end
	position = position + n_samples
end
