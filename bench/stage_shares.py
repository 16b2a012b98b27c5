#!/usr/bin/env python3
"""Reads `perf script -F comm,tid,ip,sym,dso` with call stacks from standard input and
prints each stage's share of the samples, one tab-separated line per stage, headed by
the label given as the first argument (see STAGES for how a sample finds its stage; samples
no frame claims count as "other"), and the share of samples spent on page faults."""
import re
import sys

# (stage, pattern matched against "symbol (dso)"). A sample counts for the first stage in this
# list that any frame of its stack names, so nested work goes to the inner stage: decoding
# inside a Transition's input, conversion and writing inside the encoder's call, the
# pan-and-zoom window's stretch as an effect. libavcodec is stripped, so its stacks end in it:
# a slideshow decodes no clip, so it counts as encoding. A stretch on the split helper thread
# shows no caller and counts as fitting. libjpeg also encodes mjpeg, converting colours as it
# goes; under the mjpeg encoder all of it counts as encoding. Stacks through libjpeg's own
# assembly often stop there, so a sample is first placed by the name of the thread it ran on
# (THREAD_STAGES): the mjpeg encoder compresses on threads of its own.
STAGES = [
    ("encode", r"JpegFrameEncoder::"),
    ("decode", r"LoadPicture|LoadJpeg|LoadPng|LoadBmp|\(.*libjpeg|\(.*libpng|\(.*libz\.|VideoDecoder"),
    ("convert", r"libyuv|\(.*libswscale|packetOf24BitRows|FfmpegFrameEncoder::convert"),
    ("writing", r"av_write_frame|av_write_trailer|FfmpegFileSink|writePacket|sameAsPrevious|"
                r"\(.*libavformat"),
    ("captions", r"TextLayer|DrawTextOverlays|drawDebugCaption|FontFace"),
    ("effects", r"quillfen::effects::|CTransitionEngine::render|KbeElement::drawWindow|"
                r"PipElement::drawInset"),
    ("fit", r"ResizeFrame|FinallyFitted|fitOneToOneInPlace|ConvertStereoFrame|"
            r"CTransitionEngine::SetInput|SourceElement::nextFrame|feedInput|stretchArea"),
    ("encode", r"FfmpegFrameEncoder::encode|avcodec_send_frame|\(.*libavcodec"),
]
THREAD_STAGES = {"quillfen-encode": "encode"}
ORDER = ["decode", "fit", "effects", "captions", "convert", "encode", "writing", "other"]
COMPILED = [(name, re.compile(pattern)) for name, pattern in STAGES]


def stage_of(frames, thread=""):
    if thread in THREAD_STAGES:
        return THREAD_STAGES[thread]
    for name, pattern in COMPILED:
        if any(pattern.search(frame) for frame in frames):
            return name
    return "other"


FAULT = re.compile(r"exc_page_fault|do_anonymous_page|clear_page")


def main():
    counts = dict.fromkeys(ORDER, 0)
    faults = 0
    frames = []
    thread = ""
    in_sample = False
    for line in sys.stdin:
        line = line.rstrip("\n")
        if not line.strip():
            if in_sample:
                counts[stage_of(frames, thread)] += 1
                faults += any(FAULT.search(f) for f in frames)
            frames, in_sample = [], False
        elif line[0] not in " \t":
            in_sample = True  # the sample's header line: the thread's name, then its id
            thread = line.split()[0]
        else:
            frames.append(line.strip())
    if in_sample:
        counts[stage_of(frames, thread)] += 1
        faults += any(FAULT.search(f) for f in frames)
    total = sum(counts.values()) or 1
    label = sys.argv[1] if len(sys.argv) > 1 else "build"
    print(f"stage\t{label}")
    for name in ORDER:
        print(f"{name}\t{100.0 * counts[name] / total:5.1f} %")
    print(f"(page faults)\t{100.0 * faults / total:5.1f} %")
    print(f"samples\t{total}")


if __name__ == "__main__":
    main()
