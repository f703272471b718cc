#!/usr/bin/env python3
"""pellom-collect's work in a short Python script, as the benchmark's yardstick.

  reference_collect.py ADDRESS...

Downloads the pages four at a time with urllib (the same request fields),
converts each from UTF-8 to GBK all or nothing, finds the episodes and titles
with the same two expressions (re), and writes the episode lists to standard
output in GBK, in the order given. Reasons for empty lists are left out.
"""
import re
import sys
import urllib.error
import urllib.request
from concurrent.futures import ThreadPoolExecutor

HEADERS = {'User-Agent': 'Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)',
           'Accept': '*/*', 'Pragma': 'no-cache'}
EPISODE = re.compile('<div class="item" name="tvlist" flag="(.*?)" seq="(.*?)" id="item_(.*?)" '
                     'title="第(.*?)集">'.encode('gbk'), re.S)
TITLE = re.compile(b'<meta name="title" content="(.*?)">', re.S)


def collect(address):
    try:
        body = urllib.request.urlopen(urllib.request.Request(address, headers=HEADERS), timeout=30).read()
    except urllib.error.HTTPError as error:
        body = error.read()
    try:
        page = body.decode('utf-8').encode('gbk')
    except UnicodeError:
        return b''
    page = page.split(b'\0', 1)[0]
    ids = [match.group(3) for match in EPISODE.finditer(page)]
    [match.group(1) for match in TITLE.finditer(page)]
    return b''.join(b'\xb5\xda%d\xbc\xaf$%s\r\n' % (i, video_id) for i, video_id in enumerate(ids, 1))


def main():
    with ThreadPoolExecutor(4) as pool:
        for episode_list in pool.map(collect, sys.argv[1:]):
            sys.stdout.buffer.write(episode_list)


if __name__ == '__main__':
    main()
