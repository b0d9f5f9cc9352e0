#!/usr/bin/env python3
"""Writes the corpus of valid inputs of each fuzz target into corpus/<target>/.

Run it again after changing an input here; the fuzzers never write into
corpus/ themselves (scripts/fuzz works on a copy).
"""
import pathlib
import struct

ROOT = pathlib.Path(__file__).resolve().parent / "corpus"


def block(kind, payload):
    """A key data block: type, six zeros, u16 payload length, payload."""
    return bytes([kind]) + bytes(6) + struct.pack("<H", len(payload)) + bytes(payload)


def macro(steps):
    out = [len(steps)]
    for action, key, delay in steps:
        out += [action, key] + list(struct.pack("<H", delay))
    return out


def long_reply(head):
    """A 64-byte reply; the framing bit has the fuzz target fill in its checksum."""
    report = bytes([3]) + bytes(head) + bytes(64 - 1 - len(head))
    return bytes([0x80 | len(report)]) + report


def short_reply(command, status, layer, key, index=0):
    report = bytes([3, command, status, layer, key, index, 0, 0, 0])
    return bytes([0x80 | len(report)]) + report


def key_reply(layer, key, data):
    return long_reply([3, layer, key, len(data)] + list(data))


def chunk_reply(layer, key, index, count, chunk):
    return long_reply([8, layer, key, index, count, len(chunk)] + list(chunk))


def legacy_report(fields):
    """A 65-byte legacy answer with `fields` (offset: value) set."""
    report = bytearray(65)
    report[0] = 3
    for offset, value in fields.items():
        report[offset] = value
    return bytes(report)


def keydata():
    press_release = macro([(0, 0x04, 0), (1, 0x04, 20)])
    return {
        "single": block(0, [0x04]),
        "macro": block(1, press_release),
        "media": block(2, [0xCD, 0x00]),
        "mouse": block(3, [3]),
        "combination": block(4, [0x03, 2, 0x06, 0x19]),
    }


def readloop():
    big_macro = block(1, macro([(i % 2, 0x04 + i // 2, 10 + i) for i in range(20)]))
    layer_read = (bytes([0x00, 16, 3, 0])
                  + key_reply(0, 0, block(0, [0x04]))
                  + key_reply(0, 1, block(2, [0xE9, 0x00]))
                  + key_reply(0, 16, block(4, [0x01, 1, 0x06]))
                  + chunk_reply(0, 2, 0, 2, big_macro[:56])
                  + chunk_reply(0, 2, 1, 2, big_macro[56:]))
    lighting = [10, 1, 0xFE, 52, 4, 0, 0, 0] + [255, 0, 0] * 16
    return {
        "layer": layer_read,
        "layer_small_model": bytes([0x04 | 0x00, 4, 1, 0]) + key_reply(1, 6, block(3, [2])),
        "lighting": bytes([0x01 | 0x04, 16, 3, 0]) + long_reply(lighting),
        "lighting_nak": bytes([0x01 | 0x08, 16, 3, 0]) + short_reply(7, 3, 2, 0xFE),
        "description": bytes([0x02, 6, 1, 0]) + long_reply([11, 0, 0, 7, 6, 1, 0, 3, 1, 0, 0]),
        "description_nak": bytes([0x02, 16, 3, 0]) + short_reply(7, 1, 0, 0),
    }


def legacy_r20wide():
    # Entries: delay high, delay low, key; 0xF1.. stand for modifiers.
    single = legacy_report({4: 1, 5: 1, 6: 1, 9: 0x04})
    combo = legacy_report({4: 1, 5: 1, 6: 2, 9: 0xF1, 12: 0x06})
    timed = legacy_report({4: 1, 5: 1, 6: 2, 7: 0, 8: 100, 9: 0x04, 10: 1, 11: 0, 12: 0x05})
    media = legacy_report({4: 2, 5: 1, 9: 0xCD, 12: 0x00})
    wheel = legacy_report({4: 3, 5: 1, 9: 0xF1, 21: 1})
    swipe = legacy_report({4: 3, 5: 4, 9: 2})
    return {"single": single, "combination": combo, "timed": timed, "media": media,
            "ctrl_wheel": wheel, "swipe": swipe, "empty": legacy_report({4: 0xFF})}


def legacy_old():
    single = legacy_report({4: 1, 10: 1, 11: 0, 12: 0x04})
    combo = legacy_report({4: 1, 10: 2, 11: 0x01, 12: 0x06, 13: 0x02, 14: 0x19})
    delayed = legacy_report({4: 1, 5: 0xF4, 6: 0x01, 10: 1, 12: 0x04})
    media = legacy_report({4: 2, 10: 1, 11: 0xE2, 12: 0x00})
    mouse = legacy_report({4: 3, 10: 3, 11: 4, 15: 0xFF})
    return {"single": single, "combination": combo, "delayed": delayed, "media": media,
            "alt_wheel": mouse}


def settings():
    return {
        "default": b"language = en\nlayernum = 3\n",
        "chinese": b"# settings\nLanguage = CH\nlayernum=0\n",
        "bom_crlf": b"\xef\xbb\xbf[Zentrik]\r\nlanguage=ch\r\nlayernum = 2\r\n",
        "ignored": b"; layernum = 1\nlayernum = 9\nlanguage = fr\nnothing here\n",
    }


def main():
    targets = {
        "fuzz_keydata": keydata(),
        "fuzz_readloop": readloop(),
        "fuzz_legacy_r20wide": legacy_r20wide(),
        "fuzz_legacy_old": legacy_old(),
        "fuzz_settings": settings(),
    }
    for target, inputs in targets.items():
        folder = ROOT / target
        folder.mkdir(parents=True, exist_ok=True)
        for name, data in inputs.items():
            (folder / name).write_bytes(data)


if __name__ == "__main__":
    main()
