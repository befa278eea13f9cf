"""The sample bytes of a WAV file (its "data" chunk), for the scripts that
compare or measure what LV2 hosts render."""

import struct


def wav_data(path):
    data = open(path, "rb").read()
    at = 12
    while at + 8 <= len(data):
        chunk, size = data[at:at + 4], struct.unpack("<I", data[at + 4:at + 8])[0]
        if chunk == b"data":
            return data[at + 8:at + 8 + size]
        at += 8 + size + (size & 1)
    return b""
