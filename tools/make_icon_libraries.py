#!/usr/bin/python3
"""Builds the icon libraries shipped in assets/: the five standard libraries
("activity.icl", "events.icl", "holiday.icl", "misc1.icl", "misc2.icl") and the bonus
libraries in assets/BonusIcons.

All artwork is public domain, from Debian packages:
- Open Clip Art ("openclipart-svg", /usr/share/openclipart/svg): each picture is drawn
  large, cropped to its ink and scaled to fit 30 x 30 pixels, centred in 32 x 32;
- flags from the same collection are fitted to the width and framed by a thin grey line
  so that white fields show on white paper;
- the Tango icon theme ("tango-icon-theme", /usr/share/icons/Tango), whose 32 x 32 and
  hand-drawn 16 x 16 pictures are taken as they are.

Every icon is one 32-bit picture with alpha (plus a 16 x 16 one where the artwork has
it); the libraries are written by icl_writer.py with numeric ids in the order listed.

Needs: openclipart-svg, tango-icon-theme, librsvg2-bin (rsvg-convert), python3-pil.
Usage: /usr/bin/python3 tools/make_icon_libraries.py [assets folder] [--sheet FOLDER]
       (--sheet also writes a contact sheet PNG per library for review)
"""

import argparse
import io
import os
import subprocess
import sys

from PIL import Image, ImageDraw

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from icl_writer import dib_from_rgba, write_icl  # noqa: E402

OCAL = "/usr/share/openclipart/svg/"
TANGO = "/usr/share/icons/Tango/"
SIDE = 32
INK = 30  # the picture's largest side inside the 32 x 32 square


def render_svg(path, box):
    """The SVG drawn at 256 pixels, cropped to its ink and scaled to fit `box`."""
    png = subprocess.run(["rsvg-convert", "-a", "-w", "256", "-h", "256", path],
                         check=True, capture_output=True, timeout=120).stdout
    image = Image.open(io.BytesIO(png)).convert("RGBA")
    ink = image.getchannel("A").point(lambda a: 255 if a > 8 else 0).getbbox()
    if not ink:
        raise ValueError("no ink in " + path)
    image = image.crop(ink)
    w, h = image.size
    scale = min(box[0] / w, box[1] / h)
    return image.resize((max(1, round(w * scale)), max(1, round(h * scale))), Image.LANCZOS)


def centred(picture, side=SIDE):
    out = Image.new("RGBA", (side, side), (0, 0, 0, 0))
    out.alpha_composite(picture, ((side - picture.width) // 2, (side - picture.height) // 2))
    return out


def clipart(path):
    return [centred(render_svg(OCAL + path, (INK, INK)))]


def flag(path):
    """A flag fitted to 30 pixels wide (at most 24 high) inside a grey frame."""
    inner = render_svg(OCAL + path, (INK - 2, 22)).convert("RGBA")
    framed = Image.new("RGBA", (inner.width + 2, inner.height + 2), (96, 96, 96, 255))
    framed.paste(inner, (1, 1), inner)
    # A flag is a rectangle: fill any see-through corner so the frame stays closed.
    backed = Image.new("RGBA", framed.size, (255, 255, 255, 255))
    backed.alpha_composite(framed)
    ImageDraw.Draw(backed).rectangle((0, 0, backed.width - 1, backed.height - 1), outline=(96, 96, 96, 255))
    return [centred(backed)]


def tango(name):
    """Tango's own 32 x 32 and 16 x 16 pictures of one icon."""
    pictures = []
    for size in (32, 16):
        for folder in sorted(os.listdir(TANGO + "%dx%d" % (size, size))):
            path = TANGO + "%dx%d/%s/%s.png" % (size, size, folder, name)
            if os.path.isfile(path):
                pictures.append(Image.open(path).convert("RGBA"))
                break
        else:
            raise ValueError("Tango has no %dx%d %s" % (size, size, name))
    return pictures


def pictures_of(source):
    kind, _, path = source.partition(":")
    return {"oca": clipart, "flag": flag, "tango": tango}[kind](path)


def oca(*paths):
    """Open Clip Art pictures by path; entries that name their kind ("flag:...") stay."""
    return [p if ":" in p else "oca:" + p for p in paths]


HOLIDAYS = oca(
    # New Year and Epiphany
    "recreation/party/hat_01.svg", "recreation/party/hat_02.svg", "recreation/party/tophat_benji_park_01.svg",
    "signs_and_symbols/clocks/clock12.svg", "recreation/holiday/fireworks_ganson2.svg",
    "recreation/party/couronne_01.svg",
    # Valentine's Day
    "recreation/holiday/valentines/heart.svg", "recreation/holiday/valentines/heart-arrow_benji_park_01.svg",
    "recreation/holiday/valentines/heart-ballons_benji_park_01.svg",
    "recreation/holiday/valentines/heart_cluster_jon_philli_01.svg", "plants/flowers/pink-rose_tess_brady_01.svg",
    "unsorted/rose.svg",
    # St Patrick's Day, Easter
    "recreation/holiday/shamrock_for_march_natha_01.svg", "recreation/holiday/shamrock_symbol_jonadab__01.svg",
    "recreation/holiday/easter/easter_jorkon_01.svg", "plants/sakura_dave_pena_01.svg",
    # National days and summer
    "flag:signs_and_symbols/flags/america/united_states.svg", "flag:signs_and_symbols/flags/america/canada.svg",
    "recreation/holiday/sunshine_matthew_gates_01.svg", "recreation/toys/beach_ball_01.svg",
    "recreation/holiday/midautumn1_01.svg",
    # Halloween
    "recreation/holiday/pumpkin2_yemu_01.svg", "food/pumpkin_erik_postma_01.svg", "animals/bat_orlando_karam_.svg",
    "signs_and_symbols/hazard/cute_skull_fredrik_holmq_01.svg",
    # Thanksgiving
    "recreation/holiday/thanksgiving/turkey_on_platter_01.svg", "food/desserts/pie_pumpkin.svg",
    "recreation/holiday/thanksgiving/thanksgiving_spread_01.svg", "food/vegetables/corn_cob.svg",
    # Christmas
    "recreation/holiday/christmas/christmas_tree_01.svg", "recreation/holiday/christmas/xmas.svg",
    "recreation/holiday/christmas/tree.svg", "recreation/holiday/christmas/fatherchristmas_01.svg",
    "recreation/holiday/snowman_01.svg", "recreation/holiday/christmas/jingle_bells_01.svg",
    "recreation/holiday/christmas/evergreen_wreath_with_large_holly_01.svg",
    "plants/trees/christmas_balls_mo_01.svg", "food/desserts/candy_10.svg", "recreation/holiday/gift01.svg",
    "recreation/holiday/gift05.svg", "recreation/holiday/christmas_light_jasper_v_01.svg",
)

FOOD = oca(
    "food/fruit/apple.svg", "food/fruit/banana.svg", "food/fruit/cherries.svg", "food/fruit/grapes_simple.svg",
    "food/fruit/lemon.svg", "food/fruit/orange.svg", "food/fruit/pear.svg", "food/fruit/peach_simple.svg",
    "food/fruit/pineapple.svg", "food/fruit/strawberry.svg", "food/fruit/watermelon_simple.svg",
    "food/vegetables/what_s_up_doc_01.svg", "food/vegetables/pannocchia_di_gran_turc_01.svg",
    "food/pomodori_architetto_fran_01.svg", "food/vegetables/peperoncino_pepper_fra_.svg",
    "food/bowl_of_steaming_soup_01.svg", "food/french_fries_juliane_kr_r.svg", "food/pizza_slice_01.svg",
    "food/sandwich_one_jean-victor_01.svg", "food/spaghetti_ganson.svg", "food/fruit/lime_half_jarno_vasamaa_.svg", "food/honey.svg",
    "food/breads_and_carbs/bread.svg", "food/breads_and_carbs/croissant_01.svg",
    "food/breads_and_carbs/pancakes_ganson.svg", "food/breads_and_carbs/pretzel_01.svg",
    "food/meats_and_eggs/hamburger_ganson.svg", "food/meats_and_eggs/hot_dog.svg",
    "food/meats_and_eggs/fried_egg.svg", "food/meats_and_eggs/steak-v0.1.svg", "food/dairy/cheese_01.svg",
    "food/beverages/coffee_ganson.svg", "food/beverages/teapot_ganson.svg", "food/beverages/teacup_ganson.svg",
    "food/beverages/milk_ganson.svg", "food/beverages/lemonade.svg", "food/beverages/soft_drink.svg",
    "food/beverages/lattine_di_birra_archite_01.svg", "food/breads_and_carbs/potato_chips.svg",
    "food/desserts/cone2_ganson.svg", "food/desserts/glace_4_jean-victor_bali_01.svg",
    "food/desserts/muffin_jean_victor_balin_.svg", "food/desserts/pie_cherry.svg",
    "food/desserts/lollipop_dave_pena_01.svg", "food/desserts/crazy_cookie_dave_pena_01.svg",
    "food/toque_01.svg",
)

FLAGS = ["flag:signs_and_symbols/flags/" + p + ".svg" for p in (
    "america/united_states", "america/canada", "america/mexico", "america/brazil", "america/argentina",
    "america/chile", "america/colombia", "america/peru", "america/cuba", "america/jamaica",
    "europe/united_kingdom/united_kingdom", "europe/united_kingdom/uk_england", "europe/united_kingdom/uk_scotland",
    "europe/united_kingdom/uk_wales", "europe/ireland", "europe/france/france", "europe/germany/germany",
    "europe/italy/italy", "europe/spain/spain", "europe/portugal", "europe/netherlands", "europe/belgium/belgium",
    "europe/suisse", "europe/austria", "europe/denmark/denmark", "europe/sweden", "europe/norway/norway",
    "europe/finland/finland", "europe/iceland", "europe/poland", "europe/czech_republic", "europe/greece",
    "europe/hungary", "europe/ukraine", "europe/russian_federation", "asia/china", "asia/japan", "asia/india",
    "asia/south_korea", "asia/israel", "asia/turkey", "asia/philippines", "asia/thailand", "asia/viet_nam",
    "africa/egypt", "africa/south_africa", "africa/nigeria", "africa/kenya", "africa/morocco",
    "oceania/australia/australia", "oceania/new_zealand/newzealand")]

TANGO_DESKTOP = ["tango:" + n for n in (
    "weather-clear", "weather-few-clouds", "weather-overcast", "weather-showers-scattered", "weather-showers",
    "weather-snow", "weather-storm", "weather-severe-alert", "weather-clear-night", "weather-few-clouds-night",
    "appointment-new", "x-office-calendar", "office-calendar", "x-office-address-book", "contact-new",
    "internet-mail", "mail-message-new", "mail-attachment", "emblem-favorite", "emblem-important",
    "dialog-information", "dialog-warning", "user-home", "system-users", "go-home", "camera-photo",
    "camera-video", "audio-x-generic", "audio-input-microphone", "input-gaming", "applications-games",
    "video-display", "computer", "printer", "accessories-calculator", "accessories-text-editor",
    "x-office-document", "x-office-spreadsheet", "x-office-presentation", "package-x-generic",
    "preferences-desktop-theme", "internet-web-browser", "network-wireless", "battery", "edit-find",
    "system-lock-screen", "help-browser", "software-update-urgent")]

WEATHER_AND_NATURE = oca(
    "signs_and_symbols/weather/sun01.svg", "signs_and_symbols/weather/cloudy01.svg",
    "signs_and_symbols/weather/cloudy02.svg", "signs_and_symbols/weather/cloudy03.svg",
    "signs_and_symbols/weather/rain.svg", "signs_and_symbols/weather/storm.svg",
    "signs_and_symbols/weather/snow.svg", "signs_and_symbols/weather/snowstorm.svg",
    "signs_and_symbols/weather/lightning_icon_benji_par_01.svg", "signs_and_symbols/weather/drop_peterm_01.svg",
    "signs_and_symbols/weather/icicles_benji_park_.svg", "recreation/holiday/rainbow_linda_kim_01.svg",
    "signs_and_symbols/weather/moon02.svg", "geography/astronomy/moon-full.svg",
    "geography/astronomy/moon-half.svg", "geography/astronomy/moon-crescent.svg",
    "science/astronomy/mondo_architetto_frances_01.svg", "geography/astronomy/saturn_dan_gerhards_01.svg",
    # spring
    "plants/daffodil_jonathan_dietri_01.svg", "plants/tulips_ganson.svg", "plants/sakura_01.svg",
    "plants/flowers/flower_01.svg", "plants/flowers/flower_02.svg", "plants/flowers/red_flower_raphael_seban_01.svg",
    "plants/flowers/flowerandpot_daniel_ste_r.svg",
    # summer
    "plants/flowers/flower1_juliane_krug_01.svg", "plants/flowers/geranium_ganson.svg", "plants/island_palm_and_the_sun_01.svg",
    "plants/cacuts_01.svg", "plants/trees/tree_whit_fruits_01.svg",
    # autumn
    "plants/fall_coloured_leaf_geral_01.svg", "plants/fall_coloured_leaf_geral_02.svg",
    "plants/fall_coloured_tree_geral_01.svg", "plants/acorn_jonathan_dietrich_01.svg",
    "plants/toadstool_daniel_steele_r.svg", "plants/mushroom_benji_park_.svg",
    # trees and leaves
    "plants/flowers/cartoon_tree_01.svg", "plants/arbre_modern_jean-victor_01.svg", "plants/leaf_01.svg",
    "plants/trees/fern_mo_01.svg", "plants/olivier_one_jean-victor__01.svg",
)

ACTIVITIES = oca(
    # sport
    "recreation/sports/soccer_ball_ganson.svg", "recreation/sports/baseball_anthony_liekens_01.svg",
    "recreation/sports/baseball_bat_ganson.svg", "recreation/sports/baseball_glove_ganson.svg",
    "recreation/sports/football_helmet_gerald_g_01.svg", "recreation/sports/judo_brice_boyer_01.svg",
    "recreation/sports/tennis_racket_01.svg", "recreation/sports/tennis_shoes_jarno_vasam_.svg",
    "recreation/sports/volley_ball_angelo_gelmi_01.svg", "recreation/sports/blowling_ball_01.svg",
    "recreation/sports/golf_drive_ganson.svg", "recreation/sports/8ball_nicu_buculei_01.svg",
    "recreation/sports/dartboard_ruud_steltenpo_01.svg", "recreation/sports/table_tennis_omar_abo-na_01.svg",
    "recreation/sports/target_with_arrow_virgin_01.svg", "recreation/sports/cronometro_mauro_olivo_01.svg",
    "recreation/sports/roller_blader_ganson.svg", "recreation/toys/kiddy_train_orlando_kara_.svg",
    "recreation/toys/surfboard_davek_01.svg", "computer/icons/hotel_icon_ski_area_gera_01.svg",
    "computer/icons/hotel_icon_swimming_poo_01.svg", "signs_and_symbols/awards/trophy.svg",
    # outdoors and travel
    "recreation/sports/binoculars_vladimir_hern_01.svg", "recreation/sports/backpacker_ganson.svg",
    "recreation/holiday/hiking_boot_jarno_vasama_.svg", "unsorted/tenda_da_campeggio_archi_01.svg",
    "recreation/party/fire_valessio_soares_de_.svg", "animals/fish/bofish_massimo_aiello_r.svg",
    "transportation/vehicles/bicycle_01.svg", "transportation/vehicles/car.svg",
    "transportation/vehicles/bus2_jarno_vasamaa_01.svg", "transportation/plane_in_the_sky_mo_01.svg",
    "transportation/boating/boat_jarno_vasamaa_.svg", "transportation/pallone_aerestatico_arch_01.svg",
    "transportation/little_tan_suitcase_jona_.svg",
    # music, games and crafts
    "recreation/music/guitar_jarno_vasamaa1.svg", "recreation/music/violin_colour_ganson.svg",
    "recreation/music/piano_keys_jonathan_diet_01.svg", "recreation/music/drums_jarno_vasamaa_.svg",
    "recreation/music/xylophone_ganson.svg", "recreation/music/musical_note_3_dennis_bo_01.svg",
    "recreation/music/headphones_davide_pesent_.svg", "recreation/games/two_red_dice_01.svg",
    "recreation/toys/cartes_guillaume_boitel_.svg", "recreation/toys/rubik_s_cube_petri_lumme_01.svg",
    "education/palette_juliane_krug_01.svg", "computer/hardware/digital-camera_aj_ashton_01.svg",
)

EVENTS = oca(
    # birthdays, weddings, parties
    "recreation/holiday/birthday_cake.svg", "food/cake_and_candle_anton_fr_01.svg",
    "recreation/party/pink_cake_gabrielle_now_r.svg", "food/desserts/cake_jarno_vasamaa_r.svg",
    "recreation/party/balloons-aj.svg", "recreation/party/balloon-red-aj.svg",
    "recreation/party/pacco_regalo_architetto__01.svg", "recreation/holiday/gift03.svg",
    "recreation/party/magic_hat_and_wand_nath_r.svg", "people/clothing/jewelry/wedding_rings_jarno_vas_.svg",
    "people/wedding_couple_jarno_vas_.svg", "people/baby_anthony_liekens_01.svg",
    "food/beverages/baby_bottle_01.svg", "recreation/party/yellow-scroll_benji_park_01.svg",
    "signs_and_symbols/awards/ribbon.svg", "signs_and_symbols/money/diamond_juliane_krug_01.svg",
    # doctor, dentist, optician
    "people/woman_doctor_gerald_g._01.svg", "people/woman_nurse_gerald_g._01.svg",
    "people/bodypart/dente_architetto_frances_01.svg", "tools/toothbrush_and_paste_ganson.svg",
    "science/medicine/barattolo_di_pillole_arc_01.svg", "science/medicine/medicina_dottore_archite_01.svg",
    "computer/icons/flat-theme/applications/dopewars-pill.svg", "transportation/vehicles/ambulans_romus_01.svg",
    "signs_and_symbols/paramedic_cross_01.svg", "people/clothing/sunglasses_01.svg",
    # school
    "education/school_country__abiclipa_01.svg", "education/books/stack_of_books_01.svg",
    "education/books/books-aj.svg_aj_ashton_01.svg", "education/pencil_benji_park_01.svg", "education/colori_01.svg",
    "education/simple_calculator_01.svg", "education/slate-apple_benji_park_01.svg",
    "education/certificate_01.svg", "education/erlenmeyer_jean_vitor_ba_.svg",
    # work and home
    "signs_and_symbols/clocks/alarm_clock_mike_powers_.svg", "signs_and_symbols/clocks/analog_clock_jonathan_di_01.svg",
    "office/telephone/red_telephone_mimooh_01.svg", "computer/icons/envelope_juliane_krug_01.svg",
    "computer/icons/key_juliane_krug_01.svg", "buildings/homes/my_house_01.svg",
    "signs_and_symbols/money/piggybank.svg",
)

# (file inside the assets folder, module name, description, icons)
LIBRARIES = [
    ("activity.icl", "ACTIVITY", "Orvanta icons: activities", ACTIVITIES),
    ("events.icl", "EVENTS", "Orvanta icons: events", EVENTS),
    ("holiday.icl", "HOLIDAY", "Orvanta icons: holidays", HOLIDAYS),
    ("misc1.icl", "MISC1", "Orvanta icons: weather and nature", WEATHER_AND_NATURE),
    ("misc2.icl", "MISC2", "Orvanta icons: food and drink", FOOD),
    ("BonusIcons/Flags.icl", "FLAGS", "Orvanta icons: flags", FLAGS),
    ("BonusIcons/Tango Desktop.icl", "TANGO", "Orvanta icons: Tango desktop", TANGO_DESKTOP),
]


def contact_sheet(icons, path):
    """Every icon at 32 x 32 on white, light grey and dark grey (screen and paper),
    doubled without smoothing so that pixels can be judged; 16 x 16 pictures below."""
    cols = 10
    rows = -(-len(icons) // cols)
    cell = 40
    backgrounds = [(255, 255, 255), (212, 208, 200), (64, 64, 64)]
    sheet = Image.new("RGB", (cols * cell * len(backgrounds), rows * cell), "white")
    for b, colour in enumerate(backgrounds):
        for i, pictures in enumerate(icons):
            x = b * cols * cell + (i % cols) * cell
            y = (i // cols) * cell
            tile = Image.new("RGBA", (cell, cell), colour + (255,))
            tile.alpha_composite(pictures[0], (4, 4))
            if len(pictures) > 1:
                tile.alpha_composite(pictures[1], (cell - 16, cell - 16))
            sheet.paste(tile.convert("RGB"), (x, y))
    sheet.resize((sheet.width * 2, sheet.height * 2), Image.NEAREST).save(path)


def main():
    parser = argparse.ArgumentParser(description="Builds the shipped icon libraries.")
    parser.add_argument("assets", nargs="?", default="assets", help="the assets folder")
    parser.add_argument("--sheet", metavar="FOLDER", help="also write a contact sheet per library")
    args = parser.parse_args()
    if args.sheet:
        os.makedirs(args.sheet, exist_ok=True)
    for name, module, description, sources in LIBRARIES:
        if len(set(sources)) != len(sources):
            raise ValueError(name + " names one picture twice")
        icons = [pictures_of(s) for s in sources]
        path = os.path.join(args.assets, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        size = write_icl(path, module, [(i + 1, [dib_from_rgba(p) for p in pics]) for i, pics in enumerate(icons)],
                         description)
        print("%-32s %3d icons %7d bytes" % (name, len(icons), size))
        if args.sheet:
            contact_sheet(icons, os.path.join(args.sheet, os.path.splitext(os.path.basename(name))[0] + ".png"))


if __name__ == "__main__":
    main()
