#!/bin/sh
# Which WebP and AVIF quality looks as good as a JPEG of the user's quality: for a few kinds of
# photo (noisy, smooth, portrait, a screenshot), a copy of SIDE pixels is made as a JPEG at each
# quality asked for, then the lowest WebP and AVIF quality whose SSIM against the exact picture is
# no worse is searched for, with the encoders' settings the program uses. Prints the sizes and
# ratios to the JPEG, and the seconds each AVIF took; then what a phone in portrait (NEED device
# pixels wide) fetches of tall photos at the qualities the program chooses (WEBP_Q, AVIF_Q) and the
# ladder's widths (LADDER), alone and with the next slide, before and now; and the seconds the
# AVIF ladder of a 24-megapixel photo takes to encode, before and now.
#   bench/format_quality.sh [quality ...]      (default 85)
# PHOTOS="a.jpg b.jpg" adds real photos to the made ones; SEARCH=no leaves the search out.
# Needs vips (libvips-tools) and ffmpeg. The photos are made once in $FQ_DIR (/tmp/vistello-fq).
set -eu

DIR=${FQ_DIR:-/tmp/vistello-fq}
SIDE=${SIDE:-1200}
WEBP_Q=${WEBP_Q:-}
AVIF_Q=${AVIF_Q:-}
mkdir -p "$DIR"
cd "$DIR"
[ $# -gt 0 ] || set -- 85

# Soft shapes (a 1/64 scale blown up) of a given size, with texture (at 1/16) and grain (at 1/4)
# of the given sigmas, as a camera's photo is.
shapes() { # out width height seed texture grain
    vips gaussnoise s.v $(($2 / 64)) $(($3 / 64)) --sigma 50 --seed "$4"
    vips rot s.v r.v d180
    vips flip s.v f.v horizontal
    vips bandjoin "s.v r.v f.v" j.v
    vips resize j.v big.v 64 --kernel cubic
    vips gaussnoise t.v $(($2 / 16)) $(($3 / 16)) --mean 0 --sigma "$5" --seed $(($4 + 7))
    vips resize t.v tb.v 16 --kernel cubic
    vips gaussnoise g4.v $(($2 / 4)) $(($3 / 4)) --mean 0 --sigma "$6" --seed $(($4 + 9))
    vips resize g4.v g.v 4 --kernel linear
    vips add big.v tb.v a.v
    vips add a.v g.v sum.v
    vips cast sum.v c.v uchar
    vips copy c.v "$1[Q=92]" --interpretation srgb
    rm -f s.v r.v f.v j.v big.v t.v tb.v g4.v g.v a.v sum.v c.v
}

# Flat colours, a few panels and lines of text, as a screenshot is.
screenshot() { # out
    vips black b.v 1920 1080 --bands 3
    vips linear b.v bg.v "1 1 1" "236 238 241" --uchar
    vips black p.v 1200 700 --bands 3
    vips linear p.v panel.v "1 1 1" "255 255 255" --uchar
    vips black h.v 1920 64 --bands 3
    vips linear h.v head.v "1 1 1" "38 70 140" --uchar
    vips insert bg.v panel.v a.v 360 200
    vips insert a.v head.v b2.v 0 0
    vips text t.v "<b>Settings</b>
Web images: largest side 2048 pixels, thumbnails 400, quality 85.
The pictures are made in JPEG, WebP and AVIF, each at the sizes phones ask for.
Lorem ipsum dolor sit amet, consectetur adipiscing elit, sed do eiusmod tempor.
0123456789 ABCDEFGHIJKLMNOPQRSTUVWXYZ abcdefghijklmnopqrstuvwxyz" --dpi 140 --width 1100
    vips invert t.v ink.v
    vips bandjoin "ink.v ink.v ink.v" ink3.v
    vips insert b2.v ink3.v c.v 400 240
    vips copy c.v "$1" --interpretation srgb
    rm -f b.v bg.v p.v panel.v h.v head.v a.v b2.v t.v ink.v ink3.v c.v
}

[ -f noisy.jpg ] || shapes noisy.jpg 6000 4000 1 3 6
[ -f smooth.jpg ] || shapes smooth.jpg 6000 4000 2 1 0.5
[ -f portrait.jpg ] || shapes portrait.jpg 4000 6000 3 2 3
[ -f screenshot.png ] || screenshot screenshot.png

# SSIM of the brightness, which is where the eye sees detail and where the formats differ: each
# halves the colour's resolution alike at these qualities. Decoded by the library, as the program
# reads each format, and compared by ffmpeg.
ssim() { # exact encoded
    vips copy "$2" dec.png 2>/dev/null
    ffmpeg -nostdin -i "$1" -i dec.png \
        -lavfi "[0]format=yuv444p[a];[1]format=yuv444p[b];[a][b]ssim" -f null - 2>&1 |
        sed -n 's/.*SSIM Y:\([0-9.]*\).*/\1/p'
}
kb() { echo "scale=1; $(stat -c %s "$1") / 1024" | bc; }
webp() { vips copy exact.png "out.webp[Q=$1,strip,effort=4]"; }
avif() { vips copy exact.png "out.avif[Q=$1,strip,compression=av1,effort=2]"; }

# The lowest quality of an encoder (webp or avif) whose SSIM is at least $2.
lowest() { # encoder target
    low=1 high=100
    while [ $low -lt $high ]; do
        mid=$(((low + high) / 2))
        $1 $mid
        if [ "$(echo "$(ssim exact.png out.$1) >= $2" | bc)" = 1 ]; then high=$mid; else low=$((mid + 1)); fi
    done
    echo $low
}

printf '%-12s %3s | %8s %6s | %3s %8s %6s %5s | %3s %8s %6s %5s %6s\n' photo q "JPEG KB" SSIM \
    Q "WebP KB" SSIM ratio Q "AVIF KB" SSIM ratio "s"
[ "${SEARCH:-}" = no ] && set --
for quality in "$@"; do
    for photo in noisy.jpg smooth.jpg portrait.jpg screenshot.png ${PHOTOS:-}; do
        vips thumbnail "$photo" exact.png "$SIDE" --height "$SIDE" --size down
        vips copy exact.png "out.jpg[Q=$quality,strip,optimize_coding]"
        target=$(ssim exact.png out.jpg)
        jpeg=$(kb out.jpg)
        wq=$(lowest webp "$target")
        webp "$wq"
        wkb=$(kb out.webp) wssim=$(ssim exact.png out.webp)
        aq=$(lowest avif "$target")
        start=$(date +%s.%N)
        avif "$aq"
        seconds=$(echo "$(date +%s.%N) - $start" | bc)
        akb=$(kb out.avif) assim=$(ssim exact.png out.avif)
        printf '%-12s %3s | %8s %6s | %3s %8s %6s %5.2f | %3s %8s %6s %5.2f %6.2f\n' \
            "$(basename "${photo%.*}")" "$quality" "$jpeg" "$target" "$wq" "$wkb" "$wssim" \
            "$(echo "$wkb / $jpeg" | bc -l)" "$aq" "$akb" "$assim" \
            "$(echo "$akb / $jpeg" | bc -l)" "$seconds"
    done
done

# A phone in portrait, NEED device pixels wide (412 CSS pixels at 2.6 times): what it fetches of
# each tall photo (the made one and PORTRAITS, each at least 2048 pixels tall), alone and with the
# next one's, before (the narrowest of the longer sides 480 ... 1600 and the 2048-pixel copy wide
# enough, at the JPEG's quality) and now (the narrowest of LADDER's widths, at WEBP_Q and AVIF_Q).
if [ -n "$WEBP_Q" ] && [ -n "$AVIF_Q" ] && [ -n "${LADDER:-}" ]; then
    need=${NEED:-1071}
    set -- portrait.jpg ${PORTRAITS:-}
    for photo in "$@"; do
        vips thumbnail "$photo" copy.png 2048 --height 2048 --size down 2>/dev/null
        width=$(vipsheader -f width copy.png) height=$(vipsheader -f height copy.png)
        old=$width new=$width
        for side in 1600 1200 800 480; do
            w=$((side * width / height))
            [ $w -ge "$need" ] && old=$w
        done
        for w in $(echo $LADDER | tr ' ' '\n' | sort -rn); do
            [ "$w" -ge "$need" ] && [ "$w" -lt "$width" ] && new=$w
        done
        line="$(basename "${photo%.*}") $old $new"
        for pair in "$old 85 85" "$new $WEBP_Q $AVIF_Q"; do
            set -- $pair
            vips thumbnail copy.png exact.png "$1" --height 100000 --size down
            webp "$2" && line="$line $(kb out.webp)"
            avif "$3" && line="$line $(kb out.avif)"
        done
        echo "$line"
    done >phone.txt
    echo "Phone $need pixels wide: KB of each tall photo, alone and with the next"
    printf '%-18s %5s %5s | %14s %14s | %14s %14s\n' photo old new "WebP before" "AVIF before" \
        "WebP now" "AVIF now"
    awk 'NR == 1 { first = $0 } { line[NR] = $0 } END {
        for (i = 1; i <= NR; ++i) {
            split(line[i], a, " "); split(i < NR ? line[i + 1] : first, b, " ")
            printf "%-18s %5d %5d | %6.1f %6.1f  %6.1f %6.1f  | %6.1f %6.1f  %6.1f %6.1f\n", a[1],
                a[2], a[3], a[4], a[4] + b[4], a[5], a[5] + b[5], a[6], a[6] + b[6], a[7], a[7] + b[7]
        } }' phone.txt
    rm -f phone.txt copy.png
fi

# The seconds the AVIF copies of a noisy 24-megapixel photo take to encode, a 2048-pixel copy and
# its ladder: at the JPEG's own quality on the longer sides the ladder had before, then at AVIF_Q
# on the widths it has now (LADDER).
if [ -n "$AVIF_Q" ] && [ -n "${LADDER:-}" ]; then
    vips thumbnail noisy.jpg copy.v 2048 --height 2048 --size down
    encode() { # quality option sides...
        q=$1 option=$2
        shift 2
        start=$(date +%s.%N)
        for side in 2048 "$@"; do
            vips thumbnail copy.v rung.v "$side" $option --size down
            vips copy rung.v "out.avif[Q=$q,strip,compression=av1,effort=2]" 2>/dev/null
        done
        echo "$(date +%s.%N) - $start" | bc
    }
    echo "AVIF ladder of a 2048-pixel copy: $(encode 85 "--height 2048" 480 800 1200 1600) s at 85" \
        "on the longer sides; $(encode "$AVIF_Q" "--height 100000" $LADDER) s at $AVIF_Q by width"
    rm -f copy.v rung.v
fi
rm -f exact.png dec.png out.jpg out.webp out.avif
