#!/usr/bin/env bash
# Fetches the real pictures the import is judged on (photographs and drawings
# no one here made) from Debian packages into a cache outside the clone, and
# prints one line per picture: "photo PATH" or "drawing PATH".
# The cache folder is TINTARO_REAL_CACHE, by default ~/.cache/tintaro-real.
set -euo pipefail
cache=${TINTARO_REAL_CACHE:-$HOME/.cache/tintaro-real}
mkdir -p "$cache/x"
packages=(lomiri-wallpapers-16.04 lomiri-wallpapers-20.04 plasma-workspace-wallpapers
          openclipart-svg)
for package in "${packages[@]}"; do
    if ! ls "$cache/$package"_*.deb >/dev/null 2>&1; then
        (cd "$cache" && apt-get download "$package" >&2)
    fi
    [[ -d "$cache/x/$package" ]] || dpkg-deb -x "$cache/$package"_*.deb "$cache/x/$package"
done

# Close-ups with a soft background, animals, people, landscapes, sunsets.
lomiri=(Wine_by_Jakkub_Mede.jpg greentock_by_Peter_Nerlich.jpg seeding_by_Clements_Engelhardt.jpg
        aitzgorri_by_Aitzol_Berasategi.jpg Kleiber_by_Lukas_Baubkus.jpg Dragonfly_by_Bolly.jpg
        friends_by_Aitzol_Berasategi.jpg sunset_by_Aitzol_Berasategi.jpg
        free_by_Peter_Nerlich.jpg picosdeeuropa_by_Aitzol_Berasategi.jpg
        umang_by_Abhishek_Mudgal.jpg Infinite-Sea_by_Aury88.jpg life_by_Aitzol_Berasategi.jpg
        Bridge_by_Sander_Klootwijk.jpg)
plasma=(FallenLeaf Path DarkestHour Autumn summer_1am EveningGlow Grey ColdRipple BytheWater
        OneStandsOut)
# Line art for colouring, coloured clip art with dark areas, drawings shaded
# with strokes.
drawings=(food/fruit/lemon_simple_bw food/fruit/peach_simple_bw food/fruit/apple_bw
          food/fruit/pear_simple_bw food/fruit/grapes_simple_bw food/fruit/watermelon_simple_bw
          food/fruit/strawberry_simple_bw food/fruit/pie_cherry_bw
          recreation/sports/baseball_glove_bw_ganson recreation/party/cone1_bw_ganson
          food/beverages/teacup_bw animals/crawfish1_bw_ganson animals/crawfish1_ganson
          animals/mammals/cartoon_cat_gerald_g._01 animals/mammals/big_cats/tiger_graig_ryan_smith_-_01
          plants/trees/fall_coloured_tree_geral_01 plants/fall_coloured_leaf_geral_01
          plants/fall_coloured_leaf_geral_02 plants/leaf_01 recreation/music/violin_colour_ganson
          recreation/music/trumpet_b_flat_colour_ganso animals/bugs/caterpillar_david_wislon_01
          animals/mammals/dog_01_drawn_with_strai_01 animals/mammals/dog_03_drawn_with_strai_01
          animals/cani_e_gatti_cat_and_do_01 animals/mammals/big_cats/tigre01_architetto_franc_01
          buildings/carnegie_library_building_01 buildings/ch_teau-fort_01
          plants/albero_architetto_france_01 plants/arbre_modern_bw_jean-vic_01
          plants/cactus_linda_kim_01 plants/acorn_jonathan_dietrich_01)
for name in "${lomiri[@]}"; do
    for package in lomiri-wallpapers-16.04 lomiri-wallpapers-20.04; do
        file="$cache/x/$package/usr/share/backgrounds/$name"
        [[ -f "$file" ]] && echo "photo $file" && break
    done
done
for name in "${plasma[@]}"; do
    file="$cache/x/plasma-workspace-wallpapers/usr/share/wallpapers/$name/contents/images/1920x1080.jpg"
    [[ -f "$file" ]] && echo "photo $file"
done
for name in "${drawings[@]}"; do
    file="$cache/x/openclipart-svg/usr/share/openclipart/svg/$name.svg"
    [[ -f "$file" ]] && echo "drawing $file"
done
exit 0
