#!/usr/bin/python3
"""Draws the five images of the Ombrix Chorus editor panel, for 96 dpi and for 192 dpi.

Writes, next to this script:
  Background.png  400 x 84 RGB   the panel, with title, labels, slider track
  Knob.png        24 x 2457 RGBA 91 knob frames of 24 x 27, minimum at the top
  HSlider.png     15 x 22 RGBA   the mix slider's thumb
  SwitchOn.png    12 x 22 RGBA   a switch in state On
  SwitchOff.png   12 x 22 RGBA   a switch in state Off
and the same five drawn at twice the size (Background@2x.png, 800 x 168, and so
on) for displays scaled by 150 % and more. Every shape is placed in the pixels of
the 96 dpi panel; at 2x each of those pixels is two by two.

Needs Python 3 with Pillow (Debian: python3-pil) and the DejaVu fonts
(fonts-dejavu-core). The output is deterministic; run it again after a change
and commit the PNGs with it: the resource script embeds them.
"""

import math
import os
import random

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))
FONT_DIR = "/usr/share/fonts/truetype/dejavu"

PANEL_SIZE = (400, 84)
KNOB_FRAME = (24, 27)
KNOB_FRAMES = 91
THUMB_SIZE = (15, 22)
SWITCH_SIZE = (12, 22)

# Where the dialog template's items land on the panel, as client rectangles
# (left, top, right exclusive, bottom exclusive) in panel pixels. Measured under
# Wine with a throwaway Win32 program that creates "MAINDIALOG" from the
# compiled resources (the four control classes registered with DefWindowProc)
# and prints, for each item, GetWindowRect mapped into the dialog with
# MapWindowPoints. The template font, MS Sans Serif 8 (Wine's own bitmap font,
# as on Windows at 96 dpi), gives dialog base units of 6 x 13 pixels: one
# dialog unit is 1.5 pixels across and 1.625 down.
STATUS = (293, 3, 394, 26)        # 1000 StatusControl
ON_SWITCH = (3, 34, 21, 65)       # 1001 Switch "Chorus On/Off"
DELAY_KNOB = (53, 39, 79, 67)     # 1002 Knob "Delay Time"
DEPTH_KNOB = (86, 39, 115, 67)    # 1003 Knob "Mod. Depth"
FEEDBACK_KNOB = (122, 39, 151, 67)  # 1004 Knob "Feedback"
RATE_KNOB = (155, 39, 185, 67)    # 1005 Knob "Frequency"
QUAD_SWITCH = (212, 39, 232, 68)  # 1006 Switch "Quad Mode"
WHEEL_SWITCH = (276, 39, 296, 68)  # 1007 Switch "Mod. Wheel"
MIX_SLIDER = (326, 37, 382, 57)   # 1008 HSlider "Mix"

# A left click in this strip opens the about box; the product name lives here.
ABOUT_AREA = (0, 0, 226, 26)

# Palette: a dark blue-grey panel with warm amber accents. The status control
# writes RGB(122, 135, 149) over the panel, so the panel stays dark.
PANEL_TOP = (47, 52, 61)
PANEL_BOTTOM = (31, 34, 41)
HEADER_TOP = (27, 30, 36)
HEADER_BOTTOM = (20, 22, 27)
DISPLAY = (15, 17, 21)
GROOVE_DARK = (12, 13, 16)
EDGE_LIGHT = (78, 85, 97)
PLATE_TOP = (58, 64, 75)
PLATE_BOTTOM = (40, 44, 52)
PLATE_EDGE = (92, 100, 114)
LABEL = (184, 193, 206)
ACCENT = (255, 166, 92)
TITLE_LIGHT = (226, 231, 238)

OVERSAMPLE = 8  # shapes are drawn this many times larger, then reduced


def font(name, size):
    return ImageFont.truetype(os.path.join(FONT_DIR, name), size)


def centre_x(rect):
    return (rect[0] + rect[2]) / 2.0


def fill_pixels(draw, rect, fill, r):
    """Fills the panel pixels left..right, top..bottom (inclusive) at resolution r."""
    left, top, right, bottom = rect
    draw.rectangle([left * r, top * r, (right + 1) * r - 1, (bottom + 1) * r - 1], fill=fill)


def vertical_gradient(size, top, bottom):
    mask = Image.linear_gradient("L").resize(size)
    return Image.composite(Image.new("RGB", size, bottom), Image.new("RGB", size, top), mask)


def reduce(image, size):
    """Downsamples an oversampled drawing with premultiplied alpha, so edges blend cleanly."""
    if image.mode == "RGBA":
        return image.convert("RGBa").resize(size, Image.LANCZOS).convert("RGBA")
    return image.resize(size, Image.LANCZOS)


def brushed_texture(size, seed, strength, r):
    """Horizontal streaks, as on brushed aluminium: a grey level per panel row plus fine noise.

    `size` is in panel pixels; at resolution r every texture pixel covers r x r."""
    rng = random.Random(seed)
    width, height = size
    texture = Image.new("L", size)
    pixels = texture.load()
    for y in range(height):
        row = rng.gauss(0.0, strength)
        for x in range(width):
            pixels[x, y] = max(0, min(255, int(round(128 + row + rng.gauss(0.0, strength * 0.6)))))
    return texture if r == 1 else texture.resize((width * r, height * r), Image.NEAREST)


def apply_texture(image, texture):
    """Lightens and darkens `image` by the texture's distance from mid-grey."""
    middle = Image.new("L", texture.size, 128)
    above = Image.merge("RGB", [ImageChops.subtract(texture, middle)] * 3)
    below = Image.merge("RGB", [ImageChops.subtract(middle, texture)] * 3)
    return ImageChops.subtract(ImageChops.add(image, above), below)


def draw_text(image, position, text, text_font, fill, r, anchor="la", shadow=(0, 0, 0), spacing=0):
    """Text with a one-pixel dark shadow below it, as if stamped into the panel.

    The position and the spacing between letters are in the pixels of resolution r."""
    draw = ImageDraw.Draw(image)
    if spacing:
        width = sum(draw.textlength(ch, font=text_font) for ch in text) + spacing * (len(text) - 1)
        x, y = position
        if anchor[0] == "m":
            x -= width / 2.0
        for ch in text:
            draw.text((x, y + r), ch, font=text_font, fill=shadow, anchor="l" + anchor[1])
            draw.text((x, y), ch, font=text_font, fill=fill, anchor="l" + anchor[1])
            x += draw.textlength(ch, font=text_font) + spacing
        return
    draw.text((position[0], position[1] + r), text, font=text_font, fill=shadow, anchor=anchor)
    draw.text(position, text, font=text_font, fill=fill, anchor=anchor)


def inset_box(draw, box, fill, r):
    """A recessed rectangle: dark upper-left edge, light lower-right edge."""
    left, top, right, bottom = box
    fill_pixels(draw, box, fill, r)
    fill_pixels(draw, (left, top, left, bottom), GROOVE_DARK, r)
    fill_pixels(draw, (left, top, right, top), GROOVE_DARK, r)
    fill_pixels(draw, (left + 1, bottom, right, bottom), EDGE_LIGHT, r)
    fill_pixels(draw, (right, top + 1, right, bottom), EDGE_LIGHT, r)


def plate(panel, box, r):
    """A slightly raised plate that groups controls: lighter face, lit top edge, shaded bottom edge."""
    left, top, right, bottom = box
    panel_size = (right - left + 1, bottom - top + 1)
    size = (panel_size[0] * r, panel_size[1] * r)
    face = apply_texture(vertical_gradient(size, PLATE_TOP, PLATE_BOTTOM), brushed_texture(panel_size, left, 2.0, r))
    mask = Image.new("L", (size[0] * OVERSAMPLE, size[1] * OVERSAMPLE), 0)
    ImageDraw.Draw(mask).rounded_rectangle([0, 0, mask.size[0] - 1, mask.size[1] - 1], radius=4 * r * OVERSAMPLE,
                                           fill=255)
    mask = mask.resize(size, Image.LANCZOS)
    panel.paste((14, 15, 19), ((left + 1) * r, (top + 1) * r, (right + 2) * r, (bottom + 2) * r), mask)
    panel.paste(face, (left * r, top * r), mask)
    fill_pixels(ImageDraw.Draw(panel), (left + 3, top, right - 3, top), PLATE_EDGE, r)


def quadrature_waves(panel_size, r):
    """Two sine sweeps a quarter cycle apart: the chorus's stereo modulation, as an ornament."""
    width, height = panel_size[0] * r, panel_size[1] * r
    layer = Image.new("RGBA", (width * OVERSAMPLE, height * OVERSAMPLE), (0, 0, 0, 0))
    draw = ImageDraw.Draw(layer)
    for phase, colour in ((0.0, ACCENT + (150,)), (math.pi / 2.0, (120, 170, 210, 120))):
        points = []
        for i in range(width * OVERSAMPLE + 1):
            t = i / float(width * OVERSAMPLE)
            fade = math.sin(math.pi * t)
            y = 0.5 + 0.36 * fade * math.sin(2.0 * math.pi * 2.0 * t + phase)
            points.append((i, y * height * OVERSAMPLE))
        draw.line(points, fill=colour, width=OVERSAMPLE * r)
    return reduce(layer, (width, height))


def draw_background(r):
    """The panel at resolution r: r x r device pixels for each panel pixel."""
    width, height = PANEL_SIZE
    header_height = 30
    panel = vertical_gradient((width * r, height * r), PANEL_TOP, PANEL_BOTTOM)
    panel = apply_texture(panel, brushed_texture(PANEL_SIZE, 7, 2.2, r))
    header = vertical_gradient((width * r, header_height * r), HEADER_TOP, HEADER_BOTTOM)
    panel.paste(header, (0, 0))
    draw = ImageDraw.Draw(panel)

    # Edges: a highlight under the header and a bevel round the panel.
    fill_pixels(draw, (0, header_height, width - 1, header_height), GROOVE_DARK, r)
    fill_pixels(draw, (0, header_height + 1, width - 1, header_height + 1), EDGE_LIGHT, r)
    fill_pixels(draw, (0, height - 1, width - 1, height - 1), (16, 18, 22), r)
    fill_pixels(draw, (width - 1, header_height + 1, width - 1, height - 1), (16, 18, 22), r)
    fill_pixels(draw, (0, header_height + 2, 0, height - 2), (62, 68, 79), r)

    # Title in the about strip (x in device pixels).
    title_font = font("DejaVuSans-Bold.ttf", 16 * r)
    name_font = font("DejaVuSans.ttf", 16 * r)
    baseline = 20 * r
    x = 9 * r
    draw_text(panel, (x, baseline), "Ombrix", title_font, ACCENT, r, anchor="ls")
    x += draw.textlength("Ombrix ", font=title_font)
    draw_text(panel, (x, baseline), "Chorus", name_font, TITLE_LIGHT, r, anchor="ls")
    x += draw.textlength("Chorus", font=name_font) + 7 * r
    draw_text(panel, (x, baseline), "STEREO", font("DejaVuSansCondensed-Bold.ttf", 7 * r), (112, 122, 137), r,
              anchor="ls", spacing=r)
    if x + 40 * r > ABOUT_AREA[2] * r:
        raise SystemExit("the title runs out of the about strip")

    # Ornament between title and status display.
    waves = quadrature_waves((92, 18), r)
    panel.paste(waves, (190 * r, 5 * r), waves)

    # The status display: a plain recessed window the status text is written into.
    inset_box(draw, (STATUS[0] - 4, 2, STATUS[2] + 2, header_height - 2), DISPLAY, r)

    # Plates for the three groups: on/off and the four knobs | the two modes | mix.
    for box in ((1, 33, 193, 81), (200, 33, 307, 81), (313, 33, 396, 81)):
        plate(panel, box, r)
    draw = ImageDraw.Draw(panel)

    # Knob scales: small dots at the minimum and maximum of each knob's sweep.
    for rect in (DELAY_KNOB, DEPTH_KNOB, FEEDBACK_KNOB, RATE_KNOB):
        cx, cy = rect[0] + 12.0, rect[1] + 13.0
        for angle in (-135.0, 135.0):
            radians = math.radians(angle)
            px = cx + 12.6 * math.sin(radians)
            py = cy - 12.6 * math.cos(radians)
            dot_x, dot_y = round(px - 0.5), round(py - 0.5)
            fill_pixels(draw, (dot_x, dot_y, dot_x, dot_y), (100, 109, 123), r)

    # Mix slider track: the thumb's centre travels from left + 7 to right - 8.
    track_y = MIX_SLIDER[1] + 9
    inset_box(draw, (MIX_SLIDER[0] + 3, track_y - 1, MIX_SLIDER[2] - 4, track_y + 2), GROOVE_DARK, r)
    for i in range(5):
        tick_x = MIX_SLIDER[0] + 7 + round(i * (MIX_SLIDER[2] - MIX_SLIDER[0] - 15) / 4.0)
        fill_pixels(draw, (tick_x, MIX_SLIDER[3] + 1, tick_x, MIX_SLIDER[3] + 3), (100, 109, 123), r)
    small = font("DejaVuSansCondensed.ttf", 7 * r)
    for x, text in ((MIX_SLIDER[0] + 7, "dry"), (MIX_SLIDER[2] - 8, "wet")):
        draw_text(panel, (x * r, (MIX_SLIDER[3] + 11) * r), text, small, (120, 130, 145), r, anchor="ms")

    # Labels under the controls, on one baseline.
    label_font = font("DejaVuSansCondensed-Bold.ttf", 8 * r)
    label_baseline = 79
    labels = (
        (ON_SWITCH[0] + 6, "On"),
        (DELAY_KNOB[0] + 12, "Delay"),
        (DEPTH_KNOB[0] + 12, "Depth"),
        (FEEDBACK_KNOB[0] + 12, "Feedback"),
        (RATE_KNOB[0] + 12, "Rate"),
        (QUAD_SWITCH[0] + 6, "Quad"),
        (WHEEL_SWITCH[0] + 6, "Mod Wheel"),
        (centre_x(MIX_SLIDER), "Mix"),
    )
    right_of_previous = 0.0
    for x, text in labels:
        half_width = draw.textlength(text, font=label_font) / 2.0 / r
        if x - half_width < right_of_previous + 2.0:
            raise SystemExit("the label %r runs into its neighbour" % text)
        right_of_previous = x + half_width
        draw_text(panel, ((x + 0.5) * r, label_baseline * r), text, label_font, LABEL, r, anchor="ms")
    return panel


def knob_frame(position, r):
    """One knob frame for `position` in [0, 1]: a value arc round a dark knob with a pointer."""
    scale = OVERSAMPLE * r
    width, height = KNOB_FRAME
    frame = Image.new("RGBA", (width * scale, height * scale), (0, 0, 0, 0))
    cx, cy = 12.0 * scale, 13.0 * scale

    def circle(draw, radius, **style):
        draw.ellipse([cx - radius, cy - radius, cx + radius, cy + radius], **style)

    # Soft shadow under the knob.
    shadow = Image.new("RGBA", frame.size, (0, 0, 0, 0))
    shadow_draw = ImageDraw.Draw(shadow)
    shadow_draw.ellipse([cx - 8.2 * scale, cy - 7.2 * scale, cx + 8.2 * scale, cy + 9.6 * scale],
                        fill=(0, 0, 0, 170))
    frame = Image.alpha_composite(frame, shadow.filter(ImageFilter.GaussianBlur(1.1 * scale)))
    draw = ImageDraw.Draw(frame)

    # Value ring: a dark track over the whole sweep, lit from the minimum to the position.
    ring = 10.6 * scale
    ring_box = [cx - ring, cy - ring, cx + ring, cy + ring]
    ring_width = int(round(2.0 * scale))
    draw.arc(ring_box, 135, 405, fill=(14, 15, 19, 255), width=ring_width)
    end = 135 + 270.0 * position
    if position > 0.0:
        draw.arc(ring_box, 135, end, fill=ACCENT + (255,), width=ring_width)

    # Knob body: rim, then a face lit from above.
    circle(draw, 7.9 * scale, fill=(18, 20, 24, 255))
    body = Image.new("RGBA", frame.size, (0, 0, 0, 0))
    face = vertical_gradient(frame.size, (118, 126, 140), (44, 48, 56)).convert("RGBA")
    mask = Image.new("L", frame.size, 0)
    ImageDraw.Draw(mask).ellipse([cx - 7.1 * scale, cy - 7.1 * scale, cx + 7.1 * scale, cy + 7.1 * scale], fill=255)
    body.paste(face.crop((0, int(cy - 7.1 * scale), frame.size[0], frame.size[1])).resize(frame.size), (0, 0), mask)
    frame = Image.alpha_composite(frame, body)
    draw = ImageDraw.Draw(frame)
    circle(draw, 5.6 * scale, fill=(62, 67, 77, 255))
    top = vertical_gradient(frame.size, (88, 95, 108), (58, 63, 72)).convert("RGBA")
    mask = Image.new("L", frame.size, 0)
    ImageDraw.Draw(mask).ellipse([cx - 5.2 * scale, cy - 5.2 * scale, cx + 5.2 * scale, cy + 5.2 * scale], fill=255)
    frame.paste(top.crop((0, int(cy - 5.2 * scale), frame.size[0], frame.size[1])).resize(frame.size), (0, 0), mask)
    draw = ImageDraw.Draw(frame)

    # Pointer: a light line from near the centre to the rim.
    angle = math.radians(-135.0 + 270.0 * position)
    dx, dy = math.sin(angle), -math.cos(angle)
    inner, outer = 1.5 * scale, 7.3 * scale
    draw.line([(cx + dx * inner, cy + dy * inner), (cx + dx * outer, cy + dy * outer)],
              fill=(250, 246, 238, 255), width=int(round(1.7 * scale)))
    return reduce(frame, (KNOB_FRAME[0] * r, KNOB_FRAME[1] * r))


def draw_knob_strip(r):
    width, height = KNOB_FRAME[0] * r, KNOB_FRAME[1] * r
    strip = Image.new("RGBA", (width, height * KNOB_FRAMES), (0, 0, 0, 0))
    for index in range(KNOB_FRAMES):
        strip.paste(knob_frame(index / float(KNOB_FRAMES - 1), r), (0, index * height))
    return strip


def draw_thumb(r):
    """A slider cap. Its visible body stays in the top 20 rows: the slider control is 20 pixels high."""
    scale = OVERSAMPLE * r
    width, height = THUMB_SIZE
    thumb = Image.new("RGBA", (width * scale, height * scale), (0, 0, 0, 0))
    shadow = Image.new("RGBA", thumb.size, (0, 0, 0, 0))
    ImageDraw.Draw(shadow).rounded_rectangle([1.5 * scale, 2.5 * scale, 13.8 * scale, 20.5 * scale],
                                             radius=2.5 * scale, fill=(0, 0, 0, 160))
    thumb = Image.alpha_composite(thumb, shadow.filter(ImageFilter.GaussianBlur(0.9 * scale)))
    box = [1.0 * scale, 1.0 * scale, 13.0 * scale, 18.0 * scale]
    mask = Image.new("L", thumb.size, 0)
    ImageDraw.Draw(mask).rounded_rectangle(box, radius=2.4 * scale, fill=255)
    cap = vertical_gradient(thumb.size, (170, 177, 190), (70, 76, 88)).convert("RGBA")
    thumb.paste(cap, (0, 0), mask)
    draw = ImageDraw.Draw(thumb)
    draw.rounded_rectangle(box, radius=2.4 * scale, outline=(16, 18, 22, 255), width=scale)
    # Grip line in the accent colour marks the thumb's centre.
    centre = 7.0 * scale
    draw.line([(centre, 4.0 * scale), (centre, 15.0 * scale)], fill=ACCENT + (255,), width=int(1.6 * scale))
    for offset in (-3.0, 3.0):
        draw.line([(centre + offset * scale, 6.0 * scale), (centre + offset * scale, 13.0 * scale)],
                  fill=(52, 57, 66, 255), width=scale)
    return reduce(thumb, (THUMB_SIZE[0] * r, THUMB_SIZE[1] * r))


def draw_switch(on, r):
    """A small toggle: a dark slot with a lit lever up (on) or an unlit lever down (off)."""
    scale = OVERSAMPLE * r
    width, height = SWITCH_SIZE
    image = Image.new("RGBA", (width * scale, height * scale), (0, 0, 0, 0))
    draw = ImageDraw.Draw(image)
    slot = [0.5 * scale, 0.5 * scale, 11.5 * scale, 21.5 * scale]
    draw.rounded_rectangle(slot, radius=3.0 * scale, fill=(10, 11, 14, 255), outline=(70, 77, 89, 255), width=scale)
    lever_top = 2.0 if on else 10.5
    lever = [2.2 * scale, lever_top * scale, 9.8 * scale, (lever_top + 9.5) * scale]
    mask = Image.new("L", image.size, 0)
    ImageDraw.Draw(mask).rounded_rectangle(lever, radius=2.0 * scale, fill=255)
    colours = ((255, 196, 140), (214, 112, 44)) if on else ((98, 104, 116), (46, 50, 58))
    face = vertical_gradient((image.size[0], int(lever[3] - lever[1])), *colours).convert("RGBA")
    layer = Image.new("RGBA", image.size, (0, 0, 0, 0))
    layer.paste(face, (0, int(lever[1])))
    image.paste(layer, (0, 0), mask)
    draw = ImageDraw.Draw(image)
    draw.rounded_rectangle(lever, radius=2.0 * scale, outline=(20, 22, 26, 255), width=scale)
    # Ridges across the lever, for grip.
    for i in range(3):
        y = (lever_top + 3.0 + 1.8 * i) * scale
        draw.line([(3.6 * scale, y), (8.4 * scale, y)], fill=(0, 0, 0, 90), width=int(0.8 * scale))
    if on:
        # A lit indicator in the slot the lever has left.
        glow = Image.new("RGBA", image.size, (0, 0, 0, 0))
        centre_x, centre_y = 6.0 * scale, 16.2 * scale
        ImageDraw.Draw(glow).ellipse([centre_x - 3.4 * scale, centre_y - 3.4 * scale,
                                      centre_x + 3.4 * scale, centre_y + 3.4 * scale], fill=ACCENT + (150,))
        image = Image.alpha_composite(image, glow.filter(ImageFilter.GaussianBlur(1.0 * scale)))
        draw = ImageDraw.Draw(image)
        draw.ellipse([centre_x - 1.9 * scale, centre_y - 1.9 * scale, centre_x + 1.9 * scale, centre_y + 1.9 * scale],
                     fill=(255, 214, 168, 255))
    return reduce(image, (SWITCH_SIZE[0] * r, SWITCH_SIZE[1] * r))


def check(image, size, mode, name):
    if image.size != size or image.mode != mode:
        raise SystemExit("%s came out %s %s, expected %s %s" % (name, image.size, image.mode, size, mode))


def main():
    for r, suffix in ((1, ""), (2, "@2x")):
        outputs = (
            ("Background", draw_background(r), PANEL_SIZE, "RGB"),
            ("Knob", draw_knob_strip(r), (KNOB_FRAME[0], KNOB_FRAME[1] * KNOB_FRAMES), "RGBA"),
            ("HSlider", draw_thumb(r), THUMB_SIZE, "RGBA"),
            ("SwitchOn", draw_switch(True, r), SWITCH_SIZE, "RGBA"),
            ("SwitchOff", draw_switch(False, r), SWITCH_SIZE, "RGBA"),
        )
        for name, image, panel_size, mode in outputs:
            name += suffix + ".png"
            size = (panel_size[0] * r, panel_size[1] * r)
            check(image, size, mode, name)
            path = os.path.join(HERE, name)
            image.save(path, optimize=True)
            check(Image.open(path), size, mode, name)  # Pillow writes RGB and RGBA with 8 bits a channel
            print("%-17s %4d x %4d %s" % (name, size[0], size[1], mode))


if __name__ == "__main__":
    main()
