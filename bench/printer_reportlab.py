#!/usr/bin/python3
"""The card page of printer_bench drawn with ReportLab, as a school's IT person would
script it. Usage: printer_reportlab.py CARD.json OUT.pdf PAGES [ttf|type1]; prints pages
per second. "ttf" (the default) embeds the same Liberation faces as the page printer's PDF;
"type1" uses the PDF standard fonts, which are not embedded."""
import json
import subprocess
import sys
import time

from reportlab.lib.pagesizes import A4, landscape
from reportlab.pdfbase import pdfmetrics
from reportlab.pdfbase.ttfonts import TTFont
from reportlab.pdfgen import canvas

FONTS = {"14.Times New Roman Bold": ("Times-Bold", 14), "10.Arial": ("Helvetica", 10),
         "9.Arial Bold": ("Helvetica-Bold", 9), "10.Courier New": ("Courier", 10)}
TTF_FACES = {"14.Times New Roman Bold": ("Liberation Serif:bold", 14),
             "10.Arial": ("Liberation Sans", 10), "9.Arial Bold": ("Liberation Sans:bold", 9),
             "10.Courier New": ("Liberation Mono", 10)}
MM = 72 / 25.4


def ttf_fonts():
    fonts = {}
    for name, (pattern, size) in TTF_FACES.items():
        path = subprocess.run(["fc-match", "-f", "%{file}", pattern], capture_output=True,
                              text=True, check=True).stdout
        face = pattern.replace(" ", "").replace(":", "-")
        pdfmetrics.registerFont(TTFont(face, path))
        fonts[name] = (face, size)
    return fonts


def main():
    card_file, out_file, pages = sys.argv[1], sys.argv[2], int(sys.argv[3])
    with open(card_file) as f:
        card = json.load(f)
    table = FONTS if len(sys.argv) > 4 and sys.argv[4] == "type1" else ttf_fonts()
    fonts = [table[name] for name in card["fonts"]]
    width, height = landscape(A4)
    left, top = 4.2 * MM, height - 4.2 * MM  # printable area of the laser printer
    pt, row_ht = 2.032 * MM, 4.3 * MM

    start = time.perf_counter()
    c = canvas.Canvas(out_file, pagesize=(width, height))
    for _ in range(pages):
        c.drawImage(card["logo"], left, top - 0.7 * MM - 3 * row_ht, 20 * pt, 3 * row_ht)
        current = None
        for row, column, text, font, figure in card["texts"]:
            if font != current:
                c.setFont(*fonts[font])
                current = font
            x = left + (column - 1) * pt
            if figure:
                name, size = fonts[font]
                shown = text.strip()
                x += c.stringWidth("0" * len(text), name, size) - c.stringWidth(shown, name, size)
                text = shown
            c.drawString(x, top - row * row_ht, text)
        c.setLineWidth(0.15 * MM)
        for row, column, rows, columns, grey in card["boxes"]:
            y = top - (row - 1) * row_ht - 0.9 * MM - rows * row_ht
            if grey:
                c.setFillGray(230 / 255)
                c.rect(left + (column - 1) * pt, y, columns * pt, rows * row_ht, stroke=0, fill=1)
            c.rect(left + (column - 1) * pt, y, columns * pt, rows * row_ht, stroke=1, fill=0)
        c.setFillGray(17 / 255)
        for row, column, length, vertical in card["bars"]:
            y = top - (row - 1) * row_ht - 0.7 * MM
            x = left + (column - 1) * pt
            if vertical:
                c.rect(x, y - length * row_ht, 0.4 * MM, length * row_ht, stroke=0, fill=1)
            else:
                c.rect(x, y - 0.4 * MM, length * pt, 0.4 * MM, stroke=0, fill=1)
        c.setFillGray(0)
        c.showPage()
    c.save()
    print(f"{pages / (time.perf_counter() - start):.1f}")


if __name__ == "__main__":
    main()
