#!/bin/sh
# Draws every picture of the window: the button faces, the banner, the emblem and the icon.
#
# Usage: resources/draw_art.sh   (from anywhere; writes next to this script)
# Needs ImageMagick 6 (`convert`) and the DejaVu fonts. Set CONVERT or FONTS to use others.
# The output carries no time stamps, so drawing again gives the same files.
set -eu

cd "$(dirname "$0")"
CONVERT=${CONVERT:-convert}
FONTS=${FONTS:-/usr/share/fonts/truetype/dejavu}
BOLD="$FONTS/DejaVuSansCondensed-Bold.ttf"
BOLD_SLANT="$FONTS/DejaVuSansCondensed-BoldOblique.ttf"
WIDE_SLANT="$FONTS/DejaVuSans-BoldOblique.ttf"

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

# Writes the picture drawn by "$@" to $OUT as an 8-bit palette PNG without time or date chunks.
# Quantising to 255 colours first keeps the gradients smooth (left to itself PNG8 would drop to
# 4 bits per channel); the 256th entry is the transparent one, and alpha becomes all or nothing.
png8() {
    "$CONVERT" "$@" -channel A -threshold 50% +channel +dither -colors 255 \
        -strip -define png:exclude-chunks=date,time "PNG8:$OUT"
}

# ---------------------------------------------------------------------------------------------
# Button faces, 50 × 50: a bevelled square with the command's name in capitals.
#   active   blue face, white caption with a dark drop shadow
#   inactive gold-brown face, caption engraved in dark brown
#   pressed  bevel turned inside out and the face darker, content moved down-right by one pixel

# Colours of a scheme: border highlight shadow faceTop faceBottom textLight textDark
scheme() {
    case "$1" in
    active) echo '#0a1734 #a9ccff #0d2350 #6a9deb #1a3f8c #ffffff #0a1a3d' ;;
    pressed) echo '#0a1734 #0d2350 #6d93d6 #173a80 #3f70c4 #ffffff #06122c' ;;
    inactive) echo '#3a280b #f0dba6 #5c4113 #d2ad62 #93692a #f2e2b8 #4a3410' ;;
    esac
}

# Arrow polygon beneath a two-line caption, pointing right or left, moved by $2.
arrow_points() {
    d=$2
    case "$1" in
    right) echo "$((15 + d)),$((37 + d)) $((27 + d)),$((37 + d)) $((27 + d)),$((34 + d)) $((34 + d)),$((39 + d)) $((27 + d)),$((44 + d)) $((27 + d)),$((41 + d)) $((15 + d)),$((41 + d))" ;;
    left) echo "$((35 + d)),$((37 + d)) $((23 + d)),$((37 + d)) $((23 + d)),$((34 + d)) $((16 + d)),$((39 + d)) $((23 + d)),$((44 + d)) $((23 + d)),$((41 + d)) $((35 + d)),$((41 + d))" ;;
    esac
}

# button ID SCHEME CAPTION POINTSIZE [ARROW]
button() {
    id=$1 look=$2 caption=$3 size=$4 arrow=${5:-none}
    set -- $(scheme "$look")
    border=$1 light=$2 dark=$3 top=$4 bottom=$5 textLight=$6 textDark=$7
    shift=0
    [ "$look" = pressed ] && shift=1
    # The caption sits higher when an arrow shares the face.
    textY=$shift
    [ "$arrow" != none ] && textY=$((shift - 7))

    "$CONVERT" -size 44x44 "gradient:$top-$bottom" \
        \( -size 44x44 xc:black -fill white -draw "roundrectangle 0,0 43,43 3,3" \) \
        -alpha off -compose CopyOpacity -composite "$WORK/face.png"
    # A soft gloss over the upper half of a raised face.
    if [ "$look" != pressed ]; then
        "$CONVERT" "$WORK/face.png" \
            \( -size 40x18 gradient:'rgba(255,255,255,0.30)-rgba(255,255,255,0.0)' \) \
            -geometry +2+2 -compose Atop -composite "$WORK/face.png"
    fi

    set -- -size 50x50 xc:none \
        -fill "$border" -draw "roundrectangle 0,0 49,49 5,5" \
        -fill "$light" -draw "roundrectangle 1,1 47,47 4,4" \
        -fill "$dark" -draw "roundrectangle 3,3 48,48 4,4" \
        "$WORK/face.png" -geometry +3+3 -compose Over -composite \
        -font "$BOLD" -pointsize "$size" -kerning -0.3 -gravity center \
        -interline-spacing -2
    if [ "$look" = inactive ]; then
        set -- "$@" -fill "$textLight" -annotate "+$((shift + 1))+$((textY + 1))" "$caption" \
            -fill "$textDark" -annotate "+$shift+$textY" "$caption"
    else
        set -- "$@" -fill "$textDark" -annotate "+$((shift + 1))+$((textY + 1))" "$caption" \
            -fill "$textLight" -annotate "+$shift+$textY" "$caption"
    fi
    if [ "$arrow" != none ]; then
        set -- "$@" -gravity NorthWest
        if [ "$look" = inactive ]; then
            set -- "$@" -fill "$textLight" -draw "polygon $(arrow_points "$arrow" $((shift + 1)))" \
                -fill "$textDark" -draw "polygon $(arrow_points "$arrow" $shift)"
        else
            set -- "$@" -fill "$textDark" -draw "polygon $(arrow_points "$arrow" $((shift + 1)))" \
                -fill "$textLight" -draw "polygon $(arrow_points "$arrow" $shift)"
        fi
    fi
    OUT="bitmaps/bitmap_$id.png"
    png8 "$@"
}

mkdir -p bitmaps icons

# The captions are the commands' names, as the messages, the manual and the README call them.
button 168 active 'DISPLAY' 10 right
button 174 pressed 'DISPLAY' 10 left
button 175 inactive 'DISPLAY' 10 right
button 169 active 'CANCEL' 10
button 176 inactive 'CANCEL' 10
button 170 active 'INSTALL\nNEW' 10
button 177 inactive 'INSTALL\nNEW' 10
button 171 active 'CLOSE' 11
button 172 active 'TRASH' 11
button 179 inactive 'TRASH' 11
button 173 active 'ADD TO\nLIST' 10
button 180 inactive 'ADD TO\nLIST' 10

# ---------------------------------------------------------------------------------------------
# Shared pieces of the banner, the emblem and the icon: a night-blue plate, a red and amber
# speed stripe and a chequered flag.
NAVY_TOP='#26395a'
NAVY_BOTTOM='#0a0f1b'
PLATE_EDGE='#5a6f99'
STRIPE_RED='#d42a1f'
STRIPE_AMBER='#f5a623'

# checker CELL WIDTH HEIGHT OUTPUT: black and white squares of CELL pixels.
checker() {
    "$CONVERT" -size 2x2 xc:'#f6f6f6' -fill '#141414' -draw 'point 0,0 point 1,1' \
        -filter point -scale "$(($1 * 100))%" -write mpr:cell +delete \
        -size "$2x$3" tile:mpr:cell -colorspace sRGB "$4"
}

# waving_flag CELL WIDTH HEIGHT AMPLITUDE OUTPUT: a chequered flag in one wave, shaded so that
# the folds catch the light.
waving_flag() {
    checker "$1" "$2" "$3" "$WORK/cloth.png"
    "$CONVERT" "$WORK/cloth.png" \
        \( -size "$2x1" xc:gray -fx "0.80+0.20*cos(2*pi*i/$2)" -scale "$2x$3!" \) \
        -compose Multiply -composite -background none -compose Over -wave "$4x$2" +repage "$5"
}

# ---------------------------------------------------------------------------------------------
# Banner 159, 182 × 60: "ZAV" in heavy slanted capitals with speed lines, "DATA PATCHER" on a red
# racing stripe, a chequered pattern fading in from the right.
checker 4 90 60 "$WORK/banner_checks.png"
"$CONVERT" "$WORK/banner_checks.png" -background white -shear -22x0 -gravity center \
    -crop 64x60+0+0 +repage \
    \( -size 60x64 gradient:white-black -rotate 90 -evaluate Pow 1.5 \) \
    -alpha off -compose CopyOpacity -composite "$WORK/banner_fade.png"
OUT=bitmaps/bitmap_159.png
png8 -size 182x60 "gradient:$NAVY_TOP-$NAVY_BOTTOM" \
    "$WORK/banner_fade.png" -geometry +118+0 -compose Over -composite \
    -fill "$NAVY_BOTTOM" -draw "polygon 0,37 165,37 158,55 0,55" \
    -fill "$STRIPE_RED" -draw "polygon 0,38 163,38 157,52 0,52" \
    -fill "$STRIPE_AMBER" -draw "polygon 0,53 156,53 155,55 0,55" \
    -fill none -stroke "$PLATE_EDGE" -strokewidth 1 -draw "rectangle 0,0 181,59" -stroke none \
    -fill '#c9d6ee' -draw "rectangle 8,11 27,12 rectangle 4,17 25,18" \
    -draw "rectangle 10,23 27,24 rectangle 14,29 26,30" \
    -font "$WIDE_SLANT" -pointsize 33 -kerning 0.5 -gravity NorthWest \
    -fill '#9b1810' -annotate +32+1 'ZAV' -fill white -annotate +30-1 'ZAV' \
    -font "$BOLD_SLANT" -pointsize 11 -kerning 1.6 \
    -fill '#6e120c' -annotate +27+40 'DATA PATCHER' -fill white -annotate +26+39 'DATA PATCHER'

# ---------------------------------------------------------------------------------------------
# Emblem 157, 59 × 41: a chequered flag waving from a pole over the speed stripe.
waving_flag 5 35 25 2 "$WORK/emblem_flag.png"
OUT=bitmaps/bitmap_157.png
png8 -size 59x41 "gradient:$NAVY_TOP-$NAVY_BOTTOM" \
    -fill "$STRIPE_RED" -draw "polygon 4,36 58,28 58,32 8,39" \
    -fill "$STRIPE_AMBER" -draw "polygon 8,40 58,33 58,34 11,40" \
    \( "$WORK/emblem_flag.png" \( +clone -background black -shadow 70x1+1+1 \) +swap \
    -background none -layers merge +repage \) -geometry +15+5 -compose Over -composite \
    -fill '#7d889c' -draw "rectangle 12,6 14,39" -fill '#e8edf5' -draw "line 12,6 12,39" \
    -fill '#b8860b' -draw "circle 13,5 15.6,5" -fill '#ffd75a' -draw "circle 12.6,4.6 13.8,4.2" \
    -fill none -stroke "$PLATE_EDGE" -strokewidth 1 -draw "rectangle 0,0 58,40"

# ---------------------------------------------------------------------------------------------
# Icon 199 in 48, 32 and 16 pixels (32-bit PNG with soft corners), and all three in one .ico.

# plate SIZE RADIUS OUTPUT: the rounded night-blue square under each icon.
plate() {
    "$CONVERT" -size "$1x$1" gradient:'#2f4670'-"$NAVY_BOTTOM" \
        \( -size "$1x$1" xc:black -fill white -draw "roundrectangle 0,0 $(($1 - 1)),$(($1 - 1)) $2,$2" \) \
        -alpha off -compose CopyOpacity -composite "$3"
}

# big_icon SIZE CELL FLAGW FLAGH AMPLITUDE FLAGX FLAGY POLEX POLEW: the emblem's flag and stripe
# on the plate.
big_icon() {
    s=$1 r=$(($1 / 6))
    plate "$s" "$r" "$WORK/plate.png"
    waving_flag "$2" "$3" "$4" "$5" "$WORK/icon_flag.png"
    "$CONVERT" "$WORK/plate.png" \
        -fill "$STRIPE_RED" -draw "polygon $((s / 10)),$((s * 86 / 100)) $((s - 2)),$((s * 66 / 100)) $((s - 2)),$((s * 76 / 100)) $((s / 5)),$((s * 93 / 100))" \
        "$WORK/icon_flag.png" -geometry "+$6+$7" -compose Over -composite \
        -fill '#d3dae6' -draw "rectangle $8,$7 $(($8 + $9 - 1)),$((s * 90 / 100))" \
        -fill '#ffd75a' -stroke '#b8860b' -strokewidth 0.5 \
        -draw "circle $(($8 + $9 / 2)),$(($7 - 1)) $(($8 + $9 / 2 + $9)),$(($7 - 1))" \
        -fill none -stroke "$PLATE_EDGE" -strokewidth 1 \
        -draw "roundrectangle 0,0 $((s - 1)),$((s - 1)) $r,$r" \
        -strip -define png:exclude-chunks=date,time "PNG32:icons/icon_199_$s.png"
}

big_icon 48 5 30 20 2 14 10 12 2
big_icon 32 4 20 12 1 10 7 8 2

# At 16 pixels a wave would only blur the squares: a flat flag, a pole and a stripe.
plate 16 2 "$WORK/plate.png"
checker 2 10 6 "$WORK/small_flag.png"
"$CONVERT" "$WORK/plate.png" "$WORK/small_flag.png" -geometry +4+3 -compose Over -composite \
    -fill '#d8dee8' -draw "line 3,2 3,13" -fill '#e0302a' -draw "rectangle 5,11 13,12" \
    -fill none -stroke '#44577f' -strokewidth 1 -draw "roundrectangle 0,0 15,15 2,2" \
    -strip -define png:exclude-chunks=date,time "PNG32:icons/icon_199_16.png"

"$CONVERT" icons/icon_199_16.png icons/icon_199_32.png icons/icon_199_48.png \
    -strip icons/icon_199.ico
