#!/usr/bin/python3
"""Typesets the formula pictures of the calculator and the help.

Reads data/formulas/formulas.txt (name | label | formula in matplotlib's
mathtext) and writes one SVG per name into data/formulas/svg/. Glyphs are
written as paths, so the pictures need no fonts and scale to any screen; the
ink is dark on a white card, readable whatever the desktop theme.
Run again after changing the sources and commit the SVG files:

    /usr/bin/python3 scripts/formulas.py   (Debian package python3-matplotlib)
"""
import collections
import pathlib

import matplotlib

matplotlib.use("agg")  # measures text; savefig still writes SVG
import matplotlib.pyplot as plt  # noqa: E402

RAIZ = pathlib.Path(__file__).resolve().parent.parent
FUENTE = RAIZ / "data" / "formulas" / "formulas.txt"
DESTINO = RAIZ / "data" / "formulas" / "svg"

plt.rcParams.update({
    "svg.fonttype": "path",
    "svg.hashsalt": "kalnor",  # same ids on every run
    "mathtext.fontset": "dejavusans",
    "font.family": "DejaVu Sans",
    "font.size": 20,
})

TINTA = "#14213d"
ROTULO = "#4a5a70"


def leer():
    dibujos = collections.OrderedDict()
    for linea in FUENTE.read_text(encoding="utf-8").splitlines():
        if not linea.strip() or linea.lstrip().startswith("#"):
            continue
        nombre, rotulo, formula = (p.strip() for p in linea.split("|", 2))
        dibujos.setdefault(nombre, []).append((rotulo, formula))
    return dibujos


def componer(nombre, filas):
    # Rows are stacked from the bottom up in inches, measured as drawn.
    fig = plt.figure(figsize=(1, 1))
    pulgadas = fig.dpi_scale_trans
    lienzo = fig.canvas.get_renderer()
    y = 0.0
    for rotulo, formula in reversed(filas):
        t = fig.text(0, y, f"${formula}$", color=TINTA, va="bottom", transform=pulgadas)
        y += t.get_window_extent(lienzo).height / fig.dpi + 0.10
        if rotulo:
            texto = f"${rotulo}$" if "_" in rotulo else rotulo
            r = fig.text(0, y, texto, color=ROTULO, fontsize=13, va="bottom", transform=pulgadas)
            y += r.get_window_extent(lienzo).height / fig.dpi + 0.06
        y += 0.08
    fig.savefig(DESTINO / f"{nombre}.svg", format="svg", bbox_inches="tight",
                pad_inches=0.12, facecolor="white", metadata={"Date": None})
    plt.close(fig)


def main():
    DESTINO.mkdir(parents=True, exist_ok=True)
    for nombre, filas in leer().items():
        componer(nombre, filas)
        print(f"{nombre}.svg")


if __name__ == "__main__":
    main()
