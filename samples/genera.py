#!/usr/bin/env python3
"""Writes the bundled sample archive (certification 1 of a small company, three employees)
under samples/radice/c. Run it again after changing the sample."""
import os

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "radice", "c")
DATI = os.path.join(ROOT, "vorn", "quelt", "2017", "dati")


def put(rec, pos, text):
    rec[pos - 1:pos - 1 + len(text)] = text.encode("cp1252")


# Employee record layout: field -> (position, width) for the fields the sample sets.
CAMPO = {1: (2, 16), 2: (18, 24), 3: (42, 24), 4: (66, 1), 5: (67, 8), 6: (75, 24), 7: (99, 2),
         10: (105, 1), 11: (106, 24), 12: (130, 2), 13: (132, 4), 22: (234, 12), 27: (294, 3),
         29: (300, 8), 33: (318, 12), 34: (330, 12), 38: (378, 12), 150: (1509, 12), 151: (1521, 12),
         295: (3025, 1), 296: (3026, 16), 297: (3042, 2), 305: (3073, 1), 308: (3076, 16),
         309: (3092, 2), 311: (3096, 6), 362: (3289, 12), 365: (3303, 12), 368: (3339, 1),
         369: (3340, 1), 370: (3341, 1), 448: (3737, 12), 451: (3773, 12)}
CAMPO2 = {75: (4702, 2), 76: (4704, 2)}


def employee(values, values2=None):
    rec = bytearray(b" " * 6000)
    rec[0:1] = b"$"
    for k, v in values.items():
        pos, width = CAMPO[k]
        put(rec, pos, v.ljust(width)[:width])
    for k, v in (values2 or {}).items():
        pos, width = CAMPO2[k]
        put(rec, pos, v.ljust(width)[:width])
    return bytes(rec)


def main():
    os.makedirs(DATI, exist_ok=True)
    with open(os.path.join(ROOT, "disco.ute"), "wb") as f:
        f.write(b"C:        ")

    h = bytearray(b" " * 1200)
    for pos, text in [(2, "0"), (3, "N"), (4, "01234567890"), (21, "Ferramenta Bianchi srl"),
                      (69, "0612345678"), (81, "amministrazione@bianchi.example"), (116, "BNCGNN60A01H501X"),
                      (132, "01"), (145, "BIANCHI"), (169, "GIOVANNI"), (193, "   3"), (201, "X"),
                      (205, "10"), (207, "SPRFRN70A01F205X"), (223, "1"), (224, "01022018"),
                      (237, "15022018"), (251, "ROMA"), (275, "RM"), (277, "00100"), (282, "VIA ROMA 1"),
                      (306, "477"), (309, "B"), (327, "001"), (330, "3331234567"),
                      (343, "studio@example.it")]:
        put(h, pos, text)
    h2 = bytearray(b" " * 1200)
    put(h2, 2, "1")
    put(h2, 3, "   3")
    with open(os.path.join(DATI, "FCU1.018"), "wb") as f:
        f.write(bytes(h) + bytes(h2))

    e1 = employee({1: "RSSMRA80A01H501U", 2: "ROSSI", 3: "MARIO", 4: "M", 5: "01011980", 6: "ROMA",
                   7: "RM", 11: "ROMA", 12: "RM", 13: "H501", 22: "28500.00", 27: "365",
                   33: "6200.50", 34: "400.10", 38: "55.00", 150: "6200.50", 151: "1200.00",
                   295: "X", 296: "VRDLCU82B41H501Z", 297: "12", 305: "X", 308: "RSSLCA10C01H501W",
                   309: "12", 311: "50", 362: "1234567890", 365: "28500.00", 368: " ",
                   369: "X", 370: "X", 448: "1500.00", 451: "345.00"}, {75: "AB", 76: "C "})
    e2 = employee({1: "VRDGPP75C10F205Z", 2: "VERDI", 3: "GIUSEPPE", 4: "M", 5: "10031975",
                   6: "MILANO", 7: "MI", 11: "MILANO", 12: "MI", 13: "F205", 22: "12000.00",
                   27: "120", 29: "01032017", 33: "1500.00", 34: "150.00"})
    e3 = bytearray(employee({1: "NRIANN90D50L219K", 2: "NERI", 3: "ANNA", 5: "10041990"}))
    e3[0:1] = b"*"  # a record that is not live
    with open(os.path.join(DATI, "DCU1.018"), "wb") as f:
        f.write(e1 + e2 + bytes(e3))


if __name__ == "__main__":
    main()
