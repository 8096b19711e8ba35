#!/usr/bin/env python3
"""Writes the text files of the sample installation in sample/.

The installation is meant to look as if it had been made on Windows: every file is 8-bit
Windows-1250 text (the Polish letters are single bytes, not UTF-8) with CR LF line ends, and
folder and file names carry the mixed case a Windows user leaves behind. The outputs are kept
in the repository; run this again after changing a text here:

    python3 tools/draw/write_sample_text.py

The pictures come from draw_pictures.py beside this file; rsim.ini is written by the launcher's
own settings formatter.
"""

from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
SAMPLE = ROOT / "sample"


def write_text(relative, lines):
    """One Windows-made text file: Windows-1250 bytes, CR LF after every line."""
    path = SAMPLE / relative
    path.parent.mkdir(parents=True, exist_ok=True)
    data = "".join(line + "\r\n" for line in lines).encode("cp1250")
    path.write_bytes(data)
    return path


# ---------------------------------------------------------------------------------------------
# The vehicle catalogue: match name, display name, role (1 drive, 2 ride as passenger, 0 neither).
# The display name is also the thumbnail's file name in textures\Mini.

CATALOGUE = [
    ("EL424", "EL-424", 1),              # electric locomotive, green
    ("EL430", "EL-430", 1),              # electric locomotive, maroon
    ("SD15", "SD-15", 1),                # diesel line locomotive, red
    ("SP32", "SP-32", 1),                # diesel shunter, orange
    ("SZ11", "SZ-11", 1),                # diesel railbus
    ("EZT57", "EZT-57", 1),              # electric multiple unit, driving car
    ("EZT57S", "EZT-57s", 2),            # electric multiple unit, middle car
    ("WAG1KL", "Wagon 1 kl", 2),         # first-class coach
    ("WAG2KL", "Wagon 2 kl", 2),         # second-class coach
    ("WAGPOC", "Wagon pocztowy", 0),     # mail van (no thumbnail: other.bmp)
    ("WEGL", "Węglarka", 0),             # open coal wagon (no thumbnail: other.bmp)
    ("CYST", "Cysterna", 0),             # tank wagon
]


def catalogue_lines():
    lines = ["// Katalog pojazdów PKP: typ, nazwa wyświetlana, rola (1 prowadzenie, 2 pasażer, 0 brak)"]
    for match, display, role in CATALOGUE:
        lines += [match, display, str(role), "//----------------------------------------"]
    return lines


# ---------------------------------------------------------------------------------------------
# Scenery building blocks. Apart from the markers and the trainset blocks, the launcher ignores
# every line; they are written the way a scenery author of the simulator would write them.

def vehicle(node, folder, skin, kind, driver, offset=0.0, load="brak", amount=0):
    """One vehicle line of a trainset block: node, two numbers, then the nine fixed tokens."""
    return (f"node -1 0 {node} dynamic {folder} {skin} {kind} 0 {driver} "
            f"{offset:.2f} {amount} {load}")


def tracks(prefix, count, start_z, length, vmax, curve_every=0, radius=0.0, rail="s49"):
    lines = []
    z = start_z
    for i in range(1, count + 1):
        bend = radius if curve_every and i % curve_every == 0 else 0.0
        lines.append(f"tor {prefix}{i:03d} szlak {rail} 1.435  0.000 0.000 {z:.3f}  "
                     f"0.000 0.000 {z + length:.3f}  luk {bend:.1f} vmax {vmax} koniec")
        z += length
    return lines


def catenary(prefix, count, start_z, spacing, side=3.1):
    return [f"slup {prefix}{i:03d} trakcja_3kv {side:.2f} 0.00 {start_z + i * spacing:.2f}  "
            f"wysokosc 5.60 przewod 2x100 koniec" for i in range(count)]


def scenery_settings(time, season, atmosphere, terrain, sky):
    return [
        "// ===== Ustawienia ogólne =====",
        f"czas {time} {season}",
        f"atmosfera {atmosphere}",
        "swiatlo -0.40 -0.80 0.30  0.95 0.92 0.85",
        f"teren {terrain} siatka 50",
        f"niebo {sky}",
        "",
    ]


# ---------------------------------------------------------------------------------------------
# Kolejowo: a lowland single-track line on a summer morning; picture Kolejowo.bmp.

def kolejowo():
    lines = [
        "// Sceneria: Kolejowo - Zielona Łąka",
        "// Autor: zespół Torvia, wersja 1.3",
        "//$N Kolejowo – Zielona Łąka",
        "//$D Nizinna linia jednotorowa z Kolejowa do Zielonej Łąki.",
        "//$D Długość szlaku 12 km, prędkość do 100 km/h.",
        "//$D Stacja Kolejowo: cztery tory, bocznica i rampa.",
        "//$D Lato, godzina 7:05, słonecznie, lekki wiatr.",
        "//$D Ćwicz hamowanie przed peronem w Zielonej Łące!",
        "//$I Kolejowo.bmp",
        "",
    ]
    lines += scenery_settings("7:05", "lato", "0.62 0.74 0.90  mgla 600 3000",
                              "kolejowo.ter", "pogodne_lato.sky")
    lines.append("// ===== Tory szlakowe: Kolejowo - Zielona Łąka =====")
    lines += tracks("tk", 24, 0.0, 125.0, 100, curve_every=5, radius=1200.0)
    lines += [
        "",
        "// ===== Stacja Kolejowo =====",
        "tor st1 stacyjny s49 1.435  -4.500 0.000 -250.000  -4.500 0.000 0.000  luk 0.0 vmax 40 koniec",
        "tor st2 stacyjny s49 1.435   0.000 0.000 -250.000   0.000 0.000 0.000  luk 0.0 vmax 60 koniec",
        "tor st3 stacyjny s49 1.435   4.500 0.000 -250.000   4.500 0.000 0.000  luk 0.0 vmax 40 koniec",
        "tor st4 stacyjny s42 1.435   9.000 0.000 -230.000   9.000 0.000 -20.000  luk 0.0 vmax 20 koniec",
        "tor bc1 bocznica s42 1.435  13.500 0.000 -200.000  13.500 0.000 -60.000  luk 0.0 vmax 20 koniec",
        "rozjazd zw1 lewy 1:9   0.000 0.000 0.000  kat 6.34  st2 st1 tk001 koniec",
        "rozjazd zw2 prawy 1:9  0.000 0.000 -250.000  kat 6.34  st2 st3 st4 koniec",
        "rozjazd zw3 prawy 1:9  9.000 0.000 -230.000  kat 6.34  st4 bc1 koniec",
        "kozioł kz1 13.500 0.000 -200.000",
        "",
        "// ===== Sygnalizacja =====",
        "semafor A wjazdowy  3.20 0.00 140.00  tk002  sygnaly S1 S2 S10 koniec",
        "semafor B wyjazdowy 3.20 0.00 -10.00  st2  sygnaly S1 S2 koniec",
        "semafor C wyjazdowy 7.70 0.00 -10.00  st3  sygnaly S1 S2 koniec",
        "tarcza Tm1 manewrowa 11.40 0.00 -30.00  st4  sygnaly Ms1 Ms2 koniec",
        "wskaznik W4 3.00 0.00 320.00  tk003 koniec",
        "wskaznik W8 3.00 0.00 1480.00  tk012 koniec",
        "przejazd pk1 kategoria_A 0.00 0.00 900.00  rogatki 2 koniec",
        "",
        "// ===== Sieć trakcyjna =====",
    ]
    lines += catenary("sl", 30, -250.0, 60.0)
    lines += [
        "",
        "// ===== Obiekty =====",
        "budynek dworzec_kolejowo.obj  -14.00 0.00 -120.00 obrot 90",
        "budynek nastawnia_kl.obj       -9.00 0.00   10.00 obrot 90",
        "budynek magazyn_rampa.obj      18.00 0.00 -130.00 obrot 270",
        "peron P1 wysoki 0.76  -7.20 0.00 -200.00  dlugosc 150",
        "peron P2 niski  0.30   2.25 0.00 -200.00  dlugosc 150",
        "drzewo lipa   -25.00 0.00  60.00 wys 11",
        "drzewo lipa   -27.00 0.00  75.00 wys 12",
        "drzewo brzoza  22.00 0.00 410.00 wys 9",
        "drzewo topola -30.00 0.00 980.00 wys 18",
        "pole zboze  -200.00 0.00 300.00  400 600",
        "pole laka    150.00 0.00 800.00  500 900",
        "dzwiek ptaki_las.wav  -40.00 3.00 500.00 zasieg 200",
        "",
        "// ===== Składy =====",
        "trainset Os_61231 st2 35.0 0.0",
        "//$O Pociąg osobowy do Zielonej Łąki, odjazd 7:12 z toru 2.",
        vehicle("Lok_424_017", "PKP\\EL424", "el424_zielony", "EL424", "headdriver"),
        vehicle("Wag2_51", "PKP\\wagony", "w2kl_zielony", "WAG2KL", "passenger", 0.0, "ludzie", 40),
        vehicle("Wag2_52", "PKP\\wagony", "w2kl_zielony", "WAG2KL", "passenger", 0.0, "ludzie", 35),
        vehicle("Wag1_11", "PKP\\wagony", "w1kl_zielony", "WAG1KL", "passenger", 0.0, "ludzie", 12),
        "endtrainset",
        "",
        "// Towarowy prowadzony przez komputer: żaden pojazd nie ma maszynisty gracza",
        "trainset Tow_44012 tk001 120.0 0.0",
        vehicle("Lok_sd15_204", "PKP\\SD15", "sd15_czerwony", "SD15", "nobody"),
        vehicle("Wegl_1", "PKP\\towarowe", "weglarka_brazowa", "WEGL", "nobody", 0.0, "wegiel", 60),
        vehicle("Wegl_2", "PKP\\towarowe", "weglarka_brazowa", "WEGL", "nobody", 0.0, "wegiel", 60),
        vehicle("Cyst_1", "PKP\\towarowe", "cysterna_czarna", "CYST", "nobody", 0.0, "olej", 45),
        "endtrainset",
        "",
        "trainset Manewry_3 st4 10.0 0.0",
        "//$o Manewry: podstaw wagon pocztowy pod rampę na torze 4.",
        vehicle("Lok_sp32_088", "PKP\\SP32", "sp32_pomaranczowy", "SP32", "headdriver"),
        vehicle("Poczta_7", "PKP\\wagony", "wpoczt_zielony", "WAGPOC", "nobody", 0.0, "paczki", 5),
        "// platforma kolei prywatnej, spoza katalogu PKP",
        vehicle("Obcy_platf_2", "OBCE\\platforma", "platforma_szara", "PLATF", "nobody"),
        "endtrainset",
        "",
        "trainset Os_61235 st3 40.0 0.0",
        "//$O Elektryczny zespół trakcyjny; kabina B na końcu składu.",
        vehicle("Ezt_1012a", "PKP\\EZT57", "ezt57_niebieski", "EZT57", "headdriver"),
        vehicle("Ezt_1012s", "PKP\\EZT57", "ezt57_niebieski", "EZT57S", "passenger", 0.0, "ludzie", 80),
        vehicle("Ezt_1012b", "PKP\\EZT57", "ezt57_niebieski", "EZT57", "reardriver"),
        "endtrainset",
        "",
        "trainset Pos_1811 tk001 300.0 0.0",
        "//$O Pospieszny „Łąka” – tu jedziesz tylko jako pasażer.",
        vehicle("Lok_430_002", "PKP\\EL430", "el430_bordowy", "EL430", "nobody"),
        vehicle("Wag1_21", "PKP\\wagony", "w1kl_zielony", "WAG1KL", "passenger", 0.0, "ludzie", 20),
        vehicle("Wag2_61", "PKP\\wagony", "w2kl_zielony", "WAG2KL", "passenger", 0.0, "ludzie", 50),
        vehicle("Wag2_62", "PKP\\wagony", "w2kl_zielony", "WAG2KL", "passenger", 0.0, "ludzie", 50),
        vehicle("Poczta_9", "PKP\\wagony", "wpoczt_zielony", "WAGPOC", "nobody", 0.0, "paczki", 8),
        "endtrainset",
        "",
        "// koniec pliku",
    ]
    return lines


# ---------------------------------------------------------------------------------------------
# GORY: a mountain line in winter; picture marker Gory_Zima.jpg, the file is GORY_ZIMA.JPG.

def gory():
    lines = [
        "// Sceneria: Przełęcz Śnieżna (linia górska)",
        "// Autor: zespół Torvia, wersja 0.9",
        "//$N Przełęcz Śnieżna",
        "//$D Górska linia z Doliny Jeleniej na Przełęcz Śnieżną.",
        "//$D Pochylenie do 25 ‰, ostre łuki i dwa tunele.",
        "//$D Zima, poranek; śnieg na torach i mgła w dolinach.",
        "//$D Na wiadukcie nad Białym Potokiem obowiązuje 40 km/h.",
        "//$I Gory_Zima.jpg",
        "",
    ]
    lines += scenery_settings("6:40", "zima", "0.80 0.84 0.90  mgla 150 1200",
                              "gory.ter", "pochmurno_zima.sky")
    lines.append("// ===== Tory szlakowe: Dolina Jelenia - Przełęcz Śnieżna =====")
    lines += tracks("tg", 30, 0.0, 80.0, 60, curve_every=2, radius=300.0, rail="s60")
    lines += [
        "",
        "// ===== Obiekty inżynieryjne =====",
        "tunel tn1 jednotorowy  0.00 0.00  640.00  0.00 12.00  860.00 koniec",
        "tunel tn2 jednotorowy  0.00 0.00 1500.00  0.00 31.00 1720.00 koniec",
        "wiadukt wd1 kamienny 5 przeseł  0.00 0.00 1040.00  dlugosc 160 wysokosc 28 koniec",
        "ograniczenie vmax 40  0.00 0.00 1020.00  do 1210.00 koniec",
        "",
        "// ===== Stacja Dolina Jelenia =====",
        "tor dj1 stacyjny s49 1.435  -4.500 0.000 -200.000  -4.500 0.000 0.000  luk 0.0 vmax 40 koniec",
        "tor dj2 stacyjny s60 1.435   0.000 0.000 -200.000   0.000 0.000 0.000  luk 0.0 vmax 60 koniec",
        "tor dj3 stacyjny s49 1.435   4.500 0.000 -200.000   4.500 0.000 0.000  luk 0.0 vmax 40 koniec",
        "rozjazd zw1 lewy 1:9  0.000 0.000 0.000  kat 6.34  dj2 dj1 tg001 koniec",
        "rozjazd zw2 prawy 1:9  0.000 0.000 -200.000  kat 6.34  dj2 dj3 koniec",
        "semafor A wjazdowy  3.20 0.00 150.00  tg002  sygnaly S1 S2 S10 koniec",
        "semafor B wyjazdowy 3.20 0.00 -12.00  dj2  sygnaly S1 S2 koniec",
        "wskaznik W11 3.00 0.00 600.00  tg008 koniec",
        "",
        "// ===== Sieć trakcyjna =====",
    ]
    lines += catenary("sg", 36, -200.0, 50.0, side=3.4)
    lines += [
        "",
        "// ===== Krajobraz =====",
        "budynek dworzec_gorski.obj  -13.00 0.00 -90.00 obrot 90",
        "budynek schronisko.obj      -80.00 64.00 2400.00 obrot 180",
        "las swierk  -60.00 0.00 200.00  300 800 gestosc 0.7",
        "las swierk   40.00 0.00 900.00  250 900 gestosc 0.8",
        "skala granit_1 -35.00 18.00 1300.00 skala 2.5",
        "snieg pokrywa 0.30 zamiec 0.10",
        "dzwiek wiatr_gory.wav  0.00 10.00 1200.00 zasieg 800",
        "",
        "// ===== Składy =====",
        "trainset Rj_3810 dj2 30.0 0.0",
        "//$O Pociąg regionalny na Przełęcz Śnieżną; na wiadukcie jedź 40 km/h.",
        vehicle("Lok_430_015", "PKP\\EL430", "el430_bordowy", "EL430", "headdriver"),
        vehicle("Wag2_71", "PKP\\wagony", "w2kl_zielony", "WAG2KL", "passenger", 0.0, "ludzie", 30),
        vehicle("Wag2_72", "PKP\\wagony", "w2kl_zielony", "WAG2KL", "passenger", 0.0, "ludzie", 25),
        "endtrainset",
        "",
        "trainset Tow_60455 tg001 90.0 0.0",
        "//$O Ciężki skład węgla pod górę, z popychaczem na końcu.",
        vehicle("Lok_sd15_311", "PKP\\SD15", "sd15_czerwony", "SD15", "headdriver"),
        vehicle("Wegl_11", "PKP\\towarowe", "weglarka_brazowa", "WEGL", "nobody", 0.0, "wegiel", 60),
        vehicle("Wegl_12", "PKP\\towarowe", "weglarka_brazowa", "WEGL", "nobody", 0.0, "wegiel", 60),
        vehicle("Wegl_13", "PKP\\towarowe", "weglarka_brazowa", "WEGL", "nobody", 0.0, "wegiel", 60),
        vehicle("Wegl_14", "PKP\\towarowe", "weglarka_brazowa", "WEGL", "nobody", 0.0, "wegiel", 60),
        vehicle("Lok_sd15_312", "PKP\\SD15", "sd15_czerwony", "SD15", "reardriver"),
        "endtrainset",
        "",
        "trainset Os_33501 dj3 20.0 0.0",
        vehicle("Rb_sz11_007", "PKP\\SZ11", "sz11_kremowy", "SZ11", "headdriver", 0.0, "ludzie", 15),
        "endtrainset",
        "",
        "// Pług odśnieżny kolei górskiej: pojazdy spoza katalogu PKP, skład nie do prowadzenia",
        "trainset Plug_1 dj1 15.0 0.0",
        vehicle("Plug_wirnikowy", "OBCE\\plug", "plug_czerwony", "PLUG", "headdriver"),
        vehicle("Wagon_socjalny", "OBCE\\sluzbowe", "socjalny_zolty", "SOCJ", "nobody"),
        "endtrainset",
        "",
        "// koniec pliku",
    ]
    return lines


# ---------------------------------------------------------------------------------------------
# Tor_Probny: a test loop with no picture marker, so the launcher shows its default picture.

def tor_probny():
    kinds = [  # one vehicle of every catalogue type, for the thumbnail row
        ("Lok_424_001", "PKP\\EL424", "el424_zielony", "EL424", "headdriver"),
        ("Lok_430_001", "PKP\\EL430", "el430_bordowy", "EL430", "nobody"),
        ("Lok_sd15_001", "PKP\\SD15", "sd15_czerwony", "SD15", "nobody"),
        ("Lok_sp32_001", "PKP\\SP32", "sp32_pomaranczowy", "SP32", "nobody"),
        ("Rb_sz11_001", "PKP\\SZ11", "sz11_kremowy", "SZ11", "nobody"),
        ("Zespol_57a", "PKP\\EZT57", "ezt57_niebieski", "EZT57", "nobody"),
        ("Zespol_57s", "PKP\\EZT57", "ezt57_niebieski", "EZT57S", "nobody"),
        ("Wag1_01", "PKP\\wagony", "w1kl_zielony", "WAG1KL", "nobody"),
        ("Wag2_01", "PKP\\wagony", "w2kl_zielony", "WAG2KL", "nobody"),
        ("Poczta_01", "PKP\\wagony", "wpoczt_zielony", "WAGPOC", "nobody"),
        ("Wegl_01", "PKP\\towarowe", "weglarka_brazowa", "WEGL", "nobody"),
        ("Cyst_01", "PKP\\towarowe", "cysterna_czarna", "CYST", "nobody"),
    ]
    lines = [
        "// Sceneria: tor próbny zakładów naprawczych",
        "//$N Tor próbny",
        "//$D Krótka pętla do prób pojazdów, bez rozkładu jazdy.",
        "//$D Długość 3 km, jeden przejazd i dwie zwrotnice.",
        "//$D Tu zawsze jest południe i świeci słońce.",
        "",
    ]
    lines += scenery_settings("12:00", "lato", "0.60 0.72 0.92  mgla 900 4000",
                              "plaski.ter", "pogodne_lato.sky")
    lines.append("// ===== Pętla =====")
    lines += tracks("tp", 24, 0.0, 125.0, 80, curve_every=1, radius=480.0)
    lines += [
        "rozjazd zw1 lewy 1:9  0.000 0.000 0.000  kat 6.34  tp001 tp024 hala1 koniec",
        "tor hala1 stacyjny s49 1.435  -4.500 0.000 -150.000  -4.500 0.000 0.000  luk 0.0 vmax 10 koniec",
        "przejazd pk1 kategoria_D 0.00 0.00 1500.00 koniec",
        "budynek hala_napraw.obj  -10.00 0.00 -120.00 obrot 90",
        "",
        "// ===== Składy =====",
        "TRAINSET Test hala1 10.0 0.0",
        "//$O Jazda próbna lokomotywy manewrowej po naprawie.",
        vehicle("Lok_sp32_140", "PKP\\SP32", "sp32_pomaranczowy", "sp32", "headdriver"),
        "endtrainset",
        "",
        "// HeadDriver (z wielkimi literami) nie jest słowem maszynisty: skład nie do prowadzenia",
        "trainset Jazda_probna tp001 200.0 0.0",
        vehicle("Lok_424_099", "PKP\\EL424", "el424_zielony", "EL424", "HeadDriver"),
        "endtrainset",
        "",
        "Trainset Parada_taboru tp010 0.0 0.0",
        "//$O Przegląd taboru: po jednym pojeździe każdego typu z katalogu.",
    ]
    lines += [vehicle(*k) for k in kinds]
    lines += [
        "ENDTRAINSET",
        "",
        "// koniec pliku",
    ]
    return lines


# ---------------------------------------------------------------------------------------------
# bocznica: an industrial siding with no title and no description; its picture marker names a
# file that is not in scenery\Images, so the picture shown before stays on screen.

def bocznica():
    lines = [
        "// bocznica kopalni - szkic, opis jeszcze nie gotowy",
        "//$I Bocznica_noc.bmp",
        "",
    ]
    lines += scenery_settings("22:30", "jesien", "0.10 0.12 0.20  mgla 200 900",
                              "bocznica.ter", "noc_jesien.sky")
    lines += tracks("tb", 10, 0.0, 100.0, 30, rail="s42")
    lines += [
        "rozjazd zw1 prawy 1:9  0.000 0.000 400.000  kat 6.34  tb004 tb005 zal1 koniec",
        "tor zal1 bocznica s42 1.435  4.500 0.000 420.000  4.500 0.000 700.000  luk 0.0 vmax 10 koniec",
        "budynek zaladownia_wegla.obj  9.00 0.00 560.00 obrot 0",
        "latarnia lampa_sodowa  -4.00 0.00 450.00 swiatlo 1.00 0.70 0.30",
        "latarnia lampa_sodowa  -4.00 0.00 600.00 swiatlo 1.00 0.70 0.30",
        "",
        "trainset Zdawczy_1 zal1 60.0 0.0",
        vehicle("Lok_sd15_118", "PKP\\SD15", "sd15_czerwony", "SD15", "headdriver"),
        vehicle("Wegl_31", "PKP\\towarowe", "weglarka_brazowa", "WEGL", "nobody", 0.0, "wegiel", 60),
        vehicle("Wegl_32", "PKP\\towarowe", "weglarka_brazowa", "WEGL", "nobody", 0.0, "wegiel", 60),
        vehicle("Cyst_31", "PKP\\towarowe", "cysterna_czarna", "CYST", "nobody", 0.0, "olej", 45),
        "endtrainset",
    ]
    return lines


# ---------------------------------------------------------------------------------------------
# Timetables: scenery\ + consist name + .txt. Rj_3810's file is written in upper case on disk.

def timetable_os_61231():
    return [
        "ROZKŁAD JAZDY        Pociąg osobowy Os 61231",
        "Kolejowo - Zielona Łąka          ważny od 1 czerwca",
        "=====================================================",
        "  km   Stacja               Przyjazd  Odjazd   Tor",
        "-----------------------------------------------------",
        "  0,0  Kolejowo                 -      7:12     2",
        "  3,4  Brzozówka              7:18     7:19     1",
        "  7,9  Stary Młyn ph          7:25     7:25     -",
        " 12,0  Zielona Łąka           7:32       -      1",
        "-----------------------------------------------------",
        "Vmax 100 km/h   masa 168 t   hamowanie P   EL-424",
    ]


def timetable_rj_3810():
    return [
        "ROZKŁAD JAZDY        Pociąg regionalny Rj 3810",
        "Dolina Jelenia - Przełęcz Śnieżna       sezon zimowy",
        "=====================================================",
        "  km   Stacja               Przyjazd  Odjazd   Tor",
        "-----------------------------------------------------",
        "  0,0  Dolina Jelenia           -      6:48     2",
        "  0,9  tunel nr 1               -      6:50     -",
        "  1,1  wiadukt (V 40)           -      6:52     -",
        "  1,6  Biały Potok            6:55     6:56     1",
        "  2,4  Przełęcz Śnieżna       7:04       -      1",
        "-----------------------------------------------------",
        "Vmax 60 km/h   masa 132 t   hamowanie P   EL-430",
    ]


def main():
    written = [
        write_text("dynamic/PKP/dynamic.dat", catalogue_lines()),
        write_text("scenery/Kolejowo.scn", kolejowo()),
        write_text("scenery/GORY.SCN", gory()),
        write_text("scenery/Tor_Probny.scn", tor_probny()),
        write_text("scenery/bocznica.scn", bocznica()),
        write_text("scenery/Os_61231.txt", timetable_os_61231()),
        write_text("scenery/RJ_3810.TXT", timetable_rj_3810()),
    ]
    for path in written:
        print(f"{path.relative_to(ROOT)}: {path.stat().st_size} bytes")


if __name__ == "__main__":
    main()
