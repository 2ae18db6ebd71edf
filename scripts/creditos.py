#!/usr/bin/env python3
"""Writes src/dialogs/pictures/creditos.svg, the credits picture of the about
window. It scrolls 1000 pixels (15000 twips): its last VISTA pixels are the
closing screen shown during the pause."""
import pathlib

ANCHO, VISTA, RECORRIDO = 360, 320, 1000
ALTO = RECORRIDO + VISTA

PARTES = [
    ("Motor estadístico", "medias, dispersión, forma, cuantiles, regresión"),
    ("Distribución y tabla", "archivos de problemas, orden y recuento, columnas"),
    ("Calculadora", "teclas, resultados, fórmulas y ayuda"),
    ("Informes y notas", "parámetros estadísticos, enunciado y notas"),
    ("Gráficos", "barras, sectores y líneas"),
    ("Ventanas auxiliares", "presentación, créditos y calculadora del escritorio"),
    ("kalnor-cli", "la misma calculadora desde la línea de órdenes"),
]
BIBLIOTECAS = [
    ("Qt 6 (Core, Gui, Widgets, Svg)", "GNU LGPL versión 3"),
    ("Qt Charts", "GNU GPL versión 3"),
    ("SQLite", "dominio público"),
    ("mdbtools (libmdb)", "GNU LGPL versión 2 o posterior"),
    ("libxcb", "licencia MIT/X11"),
    ("Fuentes DejaVu", "licencia libre de Bitstream Vera"),
    ("Iconos Adwaita", "GNU LGPL v3 / CC BY-SA 3.0"),
]
PRUEBAS = [
    ("GoogleTest", "licencia BSD de 3 cláusulas"),
    ("Google Benchmark", "licencia Apache 2.0"),
    ("Qt Test", "GNU LGPL versión 3"),
]


class Texto:
    def __init__(self):
        self.lineas, self.y = [], 0

    def __call__(self, texto, dy, tam=13, color="#1d3557", negrita=False):
        self.y += dy
        texto = texto.replace("&", "&amp;").replace("<", "&lt;")
        peso = "bold" if negrita else "normal"
        self.lineas.append(
            f'  <text x="{ANCHO // 2}" y="{self.y}" text-anchor="middle" '
            f'font-family="DejaVu Sans" font-size="{tam}" font-weight="{peso}" '
            f'fill="{color}">{texto}</text>')


def lista(t, titulo, filas):
    t(titulo, 36, 15, "#219ebc", True)
    for nombre, detalle in filas:
        t(nombre, 22, 12, negrita=True)
        t(detalle, 14, 11, "#555555")


def main():
    t = Texto()
    # First screen: what the program is.
    t("Kalnor", 80, 44, negrita=True)
    # The program fills in the version when it draws the picture.
    t("Versión @VERSION@ - ßeta", 26, 14, "#fb8500")
    t("Calculadora de estadística descriptiva", 34, 13, "#333333")
    t("para la enseñanza", 20, 13, "#333333")
    t("Créditos", 90, 20, negrita=True)
    lista(t, "Las partes del programa", PARTES)
    lista(t, "Bibliotecas y sus licencias", BIBLIOTECAS)
    t("Para las pruebas", 36, 15, "#219ebc", True)
    for nombre, licencia in PRUEBAS:
        t(f"{nombre} · {licencia}", 20, 11, "#555555")
    assert t.y < RECORRIDO, f"the credits run into the closing screen ({t.y})"
    # Closing screen.
    t.y = RECORRIDO + 120
    t("Kalnor", 0, 40, negrita=True)
    t("Gracias por usarlo", 34, 14, "#fb8500")
    t("Hecho por el equipo de Kalnor", 36, 12, "#333333")
    barras = [18, 54, 108, 150, 120, 66, 24]
    base = ALTO - 30
    rects = [f'  <rect x="{110 + i * 20}" y="{base - h // 3}" width="18" height="{h // 3}" '
             f'fill="#219ebc"/>' for i, h in enumerate(barras)]
    svg = "\n".join([
        f'<svg xmlns="http://www.w3.org/2000/svg" width="{ANCHO}" height="{ALTO}" '
        f'viewBox="0 0 {ANCHO} {ALTO}">',
        "  <!-- Written by scripts/creditos.py: edit the script, not this file. -->",
        '  <defs><linearGradient id="fondo" x1="0" y1="0" x2="0" y2="1">'
        '<stop offset="0" stop-color="#f1faee"/><stop offset="1" stop-color="#dbeaf2"/>'
        "</linearGradient></defs>",
        f'  <rect width="{ANCHO}" height="{ALTO}" fill="url(#fondo)"/>',
        f'  <rect x="40" y="200" width="{ANCHO - 80}" height="2" fill="#ffb703"/>',
        f'  <rect x="40" y="{RECORRIDO + 60}" width="{ANCHO - 80}" height="2" fill="#ffb703"/>',
        *rects, *t.lineas, "</svg>", ""])
    destino = pathlib.Path(__file__).resolve().parent.parent / "src/dialogs/pictures/creditos.svg"
    destino.write_text(svg, encoding="utf-8")


if __name__ == "__main__":
    main()
