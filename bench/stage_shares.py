#!/usr/bin/env python3
"""Reads `perf script -F comm,tid,ip,sym,dso` with call stacks from standard input and
prints each stage's share of the samples, one tab-separated line per stage, headed by
the label given as the first argument. A sample counts for the stage of the innermost stack
frame that names one (see STAGES); samples no frame claims count as "other"."""
import re
import sys

# (stage, pattern matched against "symbol (dso)"), tried on each frame from the leaf out.
STAGES = [
    ("encode", r"FfmpegFrameEncoder::encode|avcodec_send_frame|avcodec_receive_packet"),
    ("convert", r"libyuv|\(.*libswscale|ARGBTo|RGB24To|packetOf24BitRows|FfmpegFrameEncoder::convert"),
    ("writing", r"av_write_frame|av_write_trailer|FfmpegFileSink|writePacket|\(.*libavformat"),
    ("captions", r"TextLayer|DrawTextOverlays|drawDebugCaption|text_drawing|FontFace"),
    ("effects", r"quillfen::effects::|CTransitionEngine::render|KbeElement::drawWindow|PipElement"),
    ("fit", r"ResizeFrame|fitOneToOneInPlace|unscaledCopy|ConvertStereoFrame|CTransitionEngine::SetInput"),
    ("decode", r"LoadPicture|LoadJpeg|LoadPng|LoadBmp|\(.*libjpeg|\(.*libpng|\(.*libz\.|VideoDecoder"),
]
ORDER = ["decode", "fit", "effects", "captions", "convert", "encode", "writing", "other"]
COMPILED = [(name, re.compile(pattern)) for name, pattern in STAGES]


def stage_of(frames):
    for frame in frames:  # leaf first
        for name, pattern in COMPILED:
            if pattern.search(frame):
                return name
    return "other"


def main():
    counts = dict.fromkeys(ORDER, 0)
    frames = []
    in_sample = False
    for line in sys.stdin:
        line = line.rstrip("\n")
        if not line.strip():
            if in_sample:
                counts[stage_of(frames)] += 1
            frames, in_sample = [], False
        elif line[0] not in " \t":
            in_sample = True  # the sample's header line: command and thread
        else:
            frames.append(line.strip())
    if in_sample:
        counts[stage_of(frames)] += 1
    total = sum(counts.values()) or 1
    label = sys.argv[1] if len(sys.argv) > 1 else "build"
    print(f"stage\t{label}")
    for name in ORDER:
        print(f"{name}\t{100.0 * counts[name] / total:5.1f} %")
    print(f"samples\t{total}")


if __name__ == "__main__":
    main()
