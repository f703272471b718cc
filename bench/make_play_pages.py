#!/usr/bin/env python3
"""Writes play pages for the benchmarks, and a routes file that serves them.

  make_play_pages.py DIR NAME:EPISODES...

Each page is DIR/NAME.html, in the play-page structure: a title element and
EPISODES episode elements among ordinary markup, UTF-8. DIR/routes gets one
line per page for tests/fixtures/http_server.py --routes (served at /NAME.html).
"""
import sys


def play_page(episodes):
    parts = ['<!DOCTYPE html><html><head><meta charset="utf-8">\n<meta name="title" content="青山烟雨">\n'
             '<title>青山烟雨 在线播放</title></head><body><div id="episodes">\n']
    for i in range(1, episodes + 1):
        parts.append('<div class="item" name="tvlist" flag="0" seq="%d" id="item_XMT%09d" title="第%d集">'
                     '<a href="/v_show/id_XMT%09d.html" title="青山烟雨 第%d集">第%d集</a>'
                     '<span class="desc">江南小镇茶庄三代人的故事</span></div>\n' % (i, i, i, i, i, i))
    parts.append('</div></body></html>\n')
    return ''.join(parts).encode('utf-8')


def main():
    folder = sys.argv[1]
    with open(folder + '/routes', 'a') as routes:
        for spec in sys.argv[2:]:
            name, episodes = spec.rsplit(':', 1)
            with open('%s/%s.html' % (folder, name), 'wb') as page:
                page.write(play_page(int(episodes)))
            routes.write('path=/%s.html&body_file=%s.html\n' % (name, name))


if __name__ == '__main__':
    main()
