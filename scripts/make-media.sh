#!/usr/bin/env bash
# Generates the original artwork and sound effects of the application.
# Everything is drawn or synthesised here from code (ImageMagick + SoX);
# nothing is copied from elsewhere.  Re-running produces the same files.
#
#   data/star.gif              lit star (47x43)
#   data/starn.gif             unlit star (47x43)
#   data/cut11.jpg             "correct" illustration, red ring (113x177)
#   data/cut22.JPG             "wrong" illustration, blue cross (113x177)
#   src/windows/message_default.png  default message picture (115x169)
#   data/seikai.wav            bright chime for a correct answer
#   data/miss.wav              soft low buzz for a wrong answer
#
# Requires: convert (ImageMagick 6 or 7), sox, awk.
set -euo pipefail

SCRIPT_DIR="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
ROOT="$(cd "$SCRIPT_DIR/.." && pwd)"
DATA="$ROOT/data"
RECORDS="$ROOT/src/windows"
mkdir -p "$DATA" "$RECORDS"

for tool in convert sox awk; do
    command -v "$tool" >/dev/null 2>&1 || { echo "make-media: '$tool' not found" >&2; exit 1; }
done

TMP="$(mktemp -d)"
trap 'rm -rf "$TMP"' EXIT

# Supersampling factor: shapes are drawn S times larger, then reduced,
# which gives smooth anti-aliased edges.
S=8

# Common output options for reproducible files.
STRIP=(-strip)
PNG_OPTS=(-define png:exclude-chunks=date,time,tIME -define png:compression-level=9)
JPG_OPTS=(-sampling-factor 1x1 -quality 95 -interlace none)

# ---------------------------------------------------------------- helpers --

# star_points CX CY R_OUTER R_INNER -> "x,y x,y ..." (10 vertices, point up)
star_points() {
    awk -v cx="$1" -v cy="$2" -v ro="$3" -v ri="$4" 'BEGIN {
        pi = atan2(0, -1); s = "";
        for (i = 0; i < 10; i++) {
            a = -pi / 2 + i * pi / 5;
            r = (i % 2 == 0) ? ro : ri;
            s = s sprintf("%.2f,%.2f ", cx + r * cos(a), cy + r * sin(a));
        }
        print s;
    }'
}

# sparkle_points CX CY R -> four-pointed twinkle (concave diamond)
sparkle_points() {
    awk -v cx="$1" -v cy="$2" -v r="$3" 'BEGIN {
        pi = atan2(0, -1); s = ""; ri = r * 0.28;
        for (i = 0; i < 8; i++) {
            a = -pi / 2 + i * pi / 4;
            rr = (i % 2 == 0) ? r : ri;
            s = s sprintf("%.2f,%.2f ", cx + rr * cos(a), cy + rr * sin(a));
        }
        print s;
    }'
}

# s N -> N multiplied by the supersampling factor (integer or decimal)
s() { awk -v v="$1" -v k="$S" 'BEGIN { printf "%.2f", v * k }'; }

# --------------------------------------------------------------- the star --

# make_star OUT TOP_COLOR BOTTOM_COLOR OUTLINE HIGHLIGHT_OPACITY
make_star() {
    local out="$1" top="$2" bottom="$3" outline="$4" hl="$5"
    local W=47 H=43
    local BW=$((W * S)) BH=$((H * S))
    # Outer radius 22 px; a point-up star spans R*(1+cos36) vertically.
    local cx cy ro ri pts
    cx=$(s 23.5)
    cy=$(awk -v h="$H" -v k="$S" 'BEGIN { r = 22; t = r * (1 + cos(atan2(0,-1)/5));
                                          printf "%.2f", ((h - t) / 2 + r) * k }')
    ro=$(s 22)
    ri=$(s 9.6)
    pts=$(star_points "$cx" "$cy" "$ro" "$ri")

    # Vertical gradient clipped to the star shape.
    convert -size "${BW}x${BH}" "gradient:${top}-${bottom}" \
        \( -size "${BW}x${BH}" xc:black -fill white -draw "polygon $pts" \) \
        -alpha off -compose CopyOpacity -composite "$TMP/star_fill.png"

    # Soft highlight on the upper-left arm (a smaller star, offset).
    local hpts
    hpts=$(star_points "$(s 21.5)" "$(awk -v c="$cy" -v k="$S" 'BEGIN{printf "%.2f", c - 2.2*k}')" \
                        "$(s 12)" "$(s 5)")

    convert "$TMP/star_fill.png" \
        \( -size "${BW}x${BH}" xc:none -fill "rgba(255,255,255,${hl})" \
           -draw "polygon $hpts" -blur 0x$((S * 2)) \) \
        -compose Atop -composite \
        -fill none -stroke "$outline" -strokewidth $((S * 3 / 2)) \
        -draw "stroke-linejoin round polygon $pts" \
        "$TMP/star_big.png"

    # Reduce, then give the GIF a clean one-bit transparency: pixels that
    # are at least ~30 % covered become opaque (edge colours pre-blended
    # with a light window grey), the rest transparent.
    convert "$TMP/star_big.png" -filter Lanczos -resize "${W}x${H}!" "$TMP/star_small.png"
    convert "$TMP/star_small.png" \
        \( +clone -background '#efefef' -flatten \) \
        \( -clone 0 -alpha extract -threshold 30% \) \
        -delete 0 -alpha off -compose CopyOpacity -composite \
        "${STRIP[@]}" "$out"
}

make_star "$DATA/star.gif"  '#fff27a' '#ffb300' '#b36b00' 0.55
make_star "$DATA/starn.gif" '#f4f4f4' '#dedede' '#b4b4b4' 0.35

# ------------------------------------------------ correct: red ring, 113x177 --
W=113; H=177; BW=$((W * S)); BH=$((H * S))
cx=$(s 56.5); cy=$(s 88.5)
ring_r=$(s 38.5)            # centre line of the ring
ring_w=$(s 14)              # thickness
ring_edge=$(awk -v c="$cx" -v r="$ring_r" 'BEGIN{printf "%.2f", c + r}')

sparkles=()
# x y radius colour
while read -r sx sy sr col; do
    sparkles+=(-fill "$col" -draw "polygon $(sparkle_points "$(s "$sx")" "$(s "$sy")" "$(s "$sr")")")
done <<'EOF'
17 24 9 #ffc21a
97 33 6.5 #ff8fb1
94 148 8.5 #ffc21a
20 150 6 #7fd0ff
88 14 3.5 #ff8fb1
27 140 3 #ffc21a
EOF

convert -size "${BW}x${BH}" xc:white \
    -fill '#fff1f1' -stroke none -draw "circle $cx,$cy $cx,$(s 55)" \
    -fill none -stroke '#c81e1e' -strokewidth "$(s 15)" \
    -draw "circle $cx,$cy $ring_edge,$cy" \
    -stroke '#e83a3a' -strokewidth "$ring_w" \
    -draw "circle $cx,$cy $ring_edge,$cy" \
    -stroke none "${sparkles[@]}" \
    "$TMP/cut11_big.png"
convert "$TMP/cut11_big.png" -filter Lanczos -resize "${W}x${H}!" \
    -background white -alpha remove "${STRIP[@]}" "${JPG_OPTS[@]}" "$DATA/cut11.jpg"

# ------------------------------------------------ wrong: blue cross, 113x177 --
a1=$(s 22); a2=$(s 91); b1=$(s 54); b2=$(s 123)
convert -size "${BW}x${BH}" xc:white \
    -fill '#eef3ff' -stroke none -draw "circle $cx,$cy $cx,$(s 38)" \
    -fill none -stroke '#2b58c4' -strokewidth "$(s 15.5)" \
    -draw "stroke-linecap round line $a1,$b1 $a2,$b2" \
    -draw "stroke-linecap round line $a2,$b1 $a1,$b2" \
    -stroke '#3a6fe0' -strokewidth "$(s 14)" \
    -draw "stroke-linecap round line $a1,$b1 $a2,$b2" \
    -draw "stroke-linecap round line $a2,$b1 $a1,$b2" \
    "$TMP/cut22_big.png"
convert "$TMP/cut22_big.png" -filter Lanczos -resize "${W}x${H}!" \
    -background white -alpha remove "${STRIP[@]}" "${JPG_OPTS[@]}" "$DATA/cut22.JPG"

# ----------------------------- default message picture: face + bubble, 115x169 --
W=115; H=169; BW=$((W * S)); BH=$((H * S))
fx=$(s 57.5); fy=$(s 120); fr=$(s 37)
fedge=$(awk -v c="$fx" -v r="$fr" 'BEGIN{printf "%.2f", c + r}')

convert -size "${BW}x${BH}" gradient:'#fffaf0-#ffeccc' \
    -fill '#7a8db0' -stroke '#7a8db0' -strokewidth "$(s 4.4)" \
    -draw "stroke-linejoin round roundrectangle $(s 18),$(s 8) $(s 97),$(s 62) $(s 14),$(s 14)" \
    -draw "stroke-linejoin round polygon $(s 50),$(s 58) $(s 66),$(s 58) $(s 52),$(s 76)" \
    -fill '#ffffff' -stroke none \
    -draw "roundrectangle $(s 18),$(s 8) $(s 97),$(s 62) $(s 14),$(s 14)" \
    -draw "polygon $(s 50),$(s 58) $(s 66),$(s 58) $(s 52),$(s 76)" \
    -fill '#ff8a1f' \
    -draw "roundrectangle $(s 52.5),$(s 16) $(s 62.5),$(s 43) $(s 5),$(s 5)" \
    -draw "circle $(s 57.5),$(s 51.5) $(s 57.5),$(s 46.3)" \
    -fill '#ffd84d' -stroke '#e0a100' -strokewidth "$(s 2.4)" \
    -draw "circle $fx,$fy $fedge,$fy" \
    -stroke none -fill 'rgba(255,255,255,0.45)' \
    -draw "ellipse $(s 45),$(s 99) $(s 11),$(s 6) 0,360" \
    -fill '#3b2a1a' \
    -draw "ellipse $(s 45),$(s 114) $(s 3.6),$(s 5.2) 0,360" \
    -draw "ellipse $(s 70),$(s 114) $(s 3.6),$(s 5.2) 0,360" \
    -fill white \
    -draw "circle $(s 46.2),$(s 112) $(s 46.2),$(s 110.6)" \
    -draw "circle $(s 71.2),$(s 112) $(s 71.2),$(s 110.6)" \
    -fill 'rgba(255,120,120,0.55)' \
    -draw "ellipse $(s 35),$(s 126) $(s 6),$(s 3.6) 0,360" \
    -draw "ellipse $(s 80),$(s 126) $(s 6),$(s 3.6) 0,360" \
    -fill '#3b2a1a' -stroke '#3b2a1a' -strokewidth "$(s 2)" \
    -draw "stroke-linejoin round path 'M $(s 45),$(s 126) Q $(s 57.5),$(s 146) $(s 70),$(s 126) Q $(s 57.5),$(s 131) $(s 45),$(s 126) Z'" \
    -fill '#ff7b8a' -stroke none \
    -draw "ellipse $(s 57.5),$(s 134) $(s 4.5),$(s 2) 0,360" \
    "$TMP/message_big.png"
convert "$TMP/message_big.png" -filter Lanczos -resize "${W}x${H}!" -alpha off \
    "${STRIP[@]}" "${PNG_OPTS[@]}" "PNG24:$RECORDS/message_default.png"

# ------------------------------------------------------------------ sounds --
RATE=44100
# -R: repeatable, -D: no dither (bit-exact output on every run).
SOX=(sox -R -D)

# tone OUT FREQ DURATION  -> sine with a quiet octave for sparkle, bell-like decay
tone() {
    local out="$1" f="$2" d="$3"
    local f2
    f2=$(awk -v f="$f" 'BEGIN{printf "%.2f", f * 2}')
    "${SOX[@]}" -n -r "$RATE" -c 1 -b 32 -e floating-point "$TMP/t_a.wav" synth "$d" sine "$f"
    "${SOX[@]}" -n -r "$RATE" -c 1 -b 32 -e floating-point "$TMP/t_b.wav" synth "$d" sine "$f2" vol 0.22
    "${SOX[@]}" -m "$TMP/t_a.wav" "$TMP/t_b.wav" "$out" fade q 0.004 "$d" "$(awk -v d="$d" 'BEGIN{print d*0.9}')"
}

# Correct: E6 -> A6, the second tone starting while the first rings out.
tone "$TMP/c1.wav" 1318.51 0.20
tone "$TMP/c2.wav" 1760.00 0.50
"${SOX[@]}" "$TMP/c2.wav" "$TMP/c2d.wav" pad 0.11 0
"${SOX[@]}" -m -v 0.8 "$TMP/c1.wav" -v 1.0 "$TMP/c2d.wav" "$TMP/chime.wav"
"${SOX[@]}" "$TMP/chime.wav" -r "$RATE" -c 1 -b 16 -e signed-integer "$DATA/seikai.wav" \
    fade q 0.003 0 0.05 norm -6

# Wrong: soft low two-step buzz, G3 -> D3-ish, low-passed and faded.
"${SOX[@]}" -n -r "$RATE" -c 1 -b 32 -e floating-point "$TMP/m1.wav" \
    synth 0.22 sawtooth 196 lowpass 700 lowpass 900 fade q 0.01 0.22 0.05
"${SOX[@]}" -n -r "$RATE" -c 1 -b 32 -e floating-point "$TMP/m2.wav" \
    synth 0.40 sawtooth 150 synth 0.40 sine amod 9 45 lowpass 600 lowpass 800 fade q 0.01 0.40 0.25
"${SOX[@]}" "$TMP/m2.wav" "$TMP/m2d.wav" pad 0.20 0
"${SOX[@]}" -m "$TMP/m1.wav" "$TMP/m2d.wav" "$TMP/buzz.wav"
"${SOX[@]}" "$TMP/buzz.wav" -r "$RATE" -c 1 -b 16 -e signed-integer "$DATA/miss.wav" \
    fade q 0.005 0 0.04 norm -6

echo "make-media: wrote"
for f in "$DATA/star.gif" "$DATA/starn.gif" "$DATA/cut11.jpg" "$DATA/cut22.JPG" \
         "$RECORDS/message_default.png" "$DATA/seikai.wav" "$DATA/miss.wav"; do
    echo "  ${f#"$ROOT/"}"
done
