#!/usr/bin/python3
"""Decodes a GIF with Pillow, a decoder that is not ours, for the tests of the replay tool.

    decode-gif.py GIF OUTDIR [FRAME...]

Prints the picture's width, height and number of frames on the first line and each frame's
duration in milliseconds on the lines after; writes each FRAME asked for (0 is the first, -1 the
last), as the viewer shows it with the frames before it, to OUTDIR/frame-FRAME.bmp.
"""
import os
import sys

from PIL import Image


def main():
    path, out_dir, wanted = sys.argv[1], sys.argv[2], [int(a) for a in sys.argv[3:]]
    with Image.open(path) as gif:
        count = gif.n_frames
        print(gif.width, gif.height, count)
        for index in range(count):
            gif.seek(index)
            print(gif.info.get("duration", 0))
            if index in wanted or index - count in wanted:
                names = [w for w in wanted if w in (index, index - count)]
                for name in names:
                    gif.convert("RGB").save(os.path.join(out_dir, "frame-%d.bmp" % name))


if __name__ == "__main__":
    main()
