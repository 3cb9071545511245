// Browser checks of the demo gallery (build/demo, served over 127.0.0.1) and
// the web app example (started on a free port of 127.0.0.1), in the system's
// headless Chromium: every picture decodes at its stated size, the maps are
// well formed, every smooth picture stands beside its aliased one with a map
// of its own, and hovering and clicking a bar, a line point, a pie sector, a
// sector label and a legend key lands on the detail page with the item's
// query; the web app draws smooth unless asked for smooth=0. Requests to any host but 127.0.0.1 are refused. Ends with the line
// "browser checks: N passed, N failed".
// Usage: node run.mjs DEMO_DIR WEBAPP_SCRIPT (QUORVANE_LIBRARY names the library).
import { spawn } from 'node:child_process';
import { readdirSync, readFileSync } from 'node:fs';
import path from 'node:path';
import { chromium } from 'playwright-core';

const [demoDir, appScript] = process.argv.slice(2);
const chromiumPath = process.env.CHROMIUM || '/usr/bin/chromium';
const children = [];
let passed = 0;
let failed = 0;

function stopAll() {
  for (const child of children) child.kill();
}

// The whole run is bounded; a hang fails the stage instead of stalling it.
const deadline = setTimeout(() => {
  console.log('FAIL - the checks did not finish within 100 s');
  console.log(`browser checks: ${passed} passed, ${failed + 1} failed`);
  stopAll();
  process.exit(1);
}, 100_000);

async function check(name, body) {
  try {
    await body();
    passed++;
    console.log(`ok - ${name}`);
  } catch (e) {
    failed++;
    console.log(`FAIL - ${name}: ${e.message.split('\n')[0]}`);
  }
}

function expect(condition, message) {
  if (!condition) throw new Error(message);
}

// Starts a Python server and resolves with the URL read from its first line.
function startServer(args, pattern) {
  return new Promise((resolve, reject) => {
    const child = spawn('python3', ['-u', ...args], { stdio: ['ignore', 'pipe', 'pipe'] });
    children.push(child);
    let out = '';
    let err = '';
    child.stderr.on('data', (d) => { err += d; });
    child.stdout.on('data', (d) => {
      out += d;
      const match = out.match(pattern);
      if (match) resolve(match[1]);
    });
    child.on('exit', (code) => reject(new Error(`${args.join(' ')} exited (${code}): ${err}`)));
  });
}

// Width and height from a PNG's IHDR, a GIF's screen descriptor or a JPEG's SOF.
function imageSize(bytes) {
  if (bytes.subarray(1, 4).toString() === 'PNG') return [bytes.readUInt32BE(16), bytes.readUInt32BE(20)];
  if (bytes.subarray(0, 3).toString() === 'GIF') return [bytes.readUInt16LE(6), bytes.readUInt16LE(8)];
  for (let i = 2; i + 9 < bytes.length && bytes[i] === 0xff; i += 2 + bytes.readUInt16BE(i + 2)) {
    const marker = bytes[i + 1];
    if (marker >= 0xc0 && marker <= 0xcf && ![0xc4, 0xc8, 0xcc].includes(marker)) {
      return [bytes.readUInt16BE(i + 7), bytes.readUInt16BE(i + 5)];
    }
  }
  return null;
}

// A point inside the area's shape, as near its middle as a 1-pixel scan finds.
function insidePoint(shape, coords) {
  if (shape === 'rect') return [(coords[0] + coords[2]) / 2, (coords[1] + coords[3]) / 2];
  if (shape === 'circle') return [coords[0], coords[1]];
  const xs = coords.filter((_, i) => i % 2 === 0);
  const ys = coords.filter((_, i) => i % 2 === 1);
  const inside = (x, y) => {
    let hit = false;
    for (let i = 0, j = xs.length - 1; i < xs.length; j = i++) {
      if ((ys[i] > y) !== (ys[j] > y) && x < ((xs[j] - xs[i]) * (y - ys[i])) / (ys[j] - ys[i]) + xs[i]) hit = !hit;
    }
    return hit;
  };
  const mx = xs.reduce((a, b) => a + b) / xs.length;
  const my = ys.reduce((a, b) => a + b) / ys.length;
  let best = null;
  for (let x = Math.min(...xs); x <= Math.max(...xs); x++) {
    for (let y = Math.min(...ys); y <= Math.max(...ys); y++) {
      const d = (x - mx) ** 2 + (y - my) ** 2;
      if (inside(x + 0.5, y + 0.5) && (best === null || d < best[2])) best = [x + 0.5, y + 0.5, d];
    }
  }
  if (best === null) throw new Error(`no inside point in ${coords}`);
  return best.slice(0, 2);
}

// Every picture shown has decoded at the size its tag states, and that of its bytes.
async function checkImages(page, sizeOf) {
  const images = await page.$$eval('img', (all) => all.map((img) => ({
    src: img.getAttribute('src'), complete: img.complete, natural: [img.naturalWidth, img.naturalHeight],
    stated: [Number(img.getAttribute('width')), Number(img.getAttribute('height'))] })));
  expect(images.length > 0, 'no pictures');
  for (const img of images) {
    const size = await sizeOf(img.src);
    expect(img.complete && img.natural[0] > 0, `${img.src} did not decode`);
    expect(`${img.natural}` === `${img.stated}` && `${img.natural}` === `${size}`,
      `${img.src}: decoded ${img.natural}, stated ${img.stated}, file ${size}`);
  }
  return images.length;
}

// Maps are well formed: each used map exists once, and each area sits in a map
// with its alt, title and a link to the detail page.
async function checkMaps(page, detailPrefix) {
  const problems = await page.evaluate((prefix) => {
    const out = [];
    const names = [...document.querySelectorAll('map')].map((m) => m.name);
    if (new Set(names).size !== names.length) out.push('map names repeat');
    for (const img of document.querySelectorAll('img[usemap]')) {
      if (!names.includes(img.useMap.slice(1))) out.push(`${img.src} uses a missing map`);
    }
    for (const area of document.querySelectorAll('area')) {
      const href = area.getAttribute('href') || '';
      if (area.parentElement.tagName !== 'MAP') out.push(`area outside a map: ${href}`);
      if (!area.alt || !area.title) out.push(`area without alt or title: ${href}`);
      if (!href.startsWith(prefix)) out.push(`area links elsewhere: ${href}`);
    }
    if (document.querySelectorAll('area').length === 0) out.push('no areas');
    return out;
  }, detailPrefix);
  expect(problems.length === 0, problems.slice(0, 3).join('; '));
}

// Hovers over the first area of the map used by imgSrc that pick() accepts,
// checks the browser hits that area (whose title the browser shows), clicks
// and checks the query of the page it lands on.
async function clickArea(page, imgSrc, pick, expected) {
  const target = await page.evaluate(([src, pickText]) => {
    const img = [...document.images].find((i) => i.getAttribute('src') === src);
    const pickFn = new Function('area', `return ${pickText}`);
    const areas = [...document.querySelector(`map[name="${img.useMap.slice(1)}"]`).areas];
    const index = areas.findIndex((a) => pickFn(a));
    if (index < 0) return null;
    img.scrollIntoView({ block: 'center' });
    const box = img.getBoundingClientRect();
    const a = areas[index];
    return { index, shape: a.shape, coords: a.coords.split(',').map(Number), title: a.title,
      left: box.left, top: box.top, mapName: img.useMap.slice(1) };
  }, [imgSrc, pick]);
  expect(target !== null, `no area of ${imgSrc} matches ${pick}`);
  const [x, y] = insidePoint(target.shape, target.coords);
  const [px, py] = [target.left + x, target.top + y];
  await page.mouse.move(px, py);
  const hit = await page.evaluate(([hx, hy]) => {
    const el = document.elementFromPoint(hx, hy);
    return el && el.tagName === 'AREA' ? { map: el.parentElement.name, title: el.title,
      index: [...el.parentElement.areas].indexOf(el) } : { tag: el && el.tagName };
  }, [px, py]);
  expect(hit.map === target.mapName && hit.index === target.index,
    `hovering hits ${JSON.stringify(hit)}, not area ${target.index} (${target.title})`);
  const from = page.url();
  await Promise.all([page.waitForURL((u) => u.href !== from, { timeout: 10_000 }), page.mouse.click(px, py)]);
  const query = new URL(page.url()).searchParams;
  for (const [name, value] of Object.entries(expected)) {
    expect(query.get(name) === value, `landed on ${page.url()}: ${name} is ${query.get(name)}, not ${value}`);
  }
  return { query };
}

async function main() {
  const demoUrl = await startServer(['-m', 'http.server', '0', '--bind', '127.0.0.1', '--directory', demoDir],
    /Serving HTTP on \S+ port (\d+)/).then((port) => `http://127.0.0.1:${port}/`);
  const appUrl = await startServer([appScript, '--port', '0', '--quiet'], /serving on (\S+)/);

  const browser = await chromium.launch({ executablePath: chromiumPath, args: ['--no-sandbox'] });
  const page = await browser.newPage({ viewport: { width: 1280, height: 900 } });
  const outside = [];
  await page.route('**/*', (route) => {
    const host = new URL(route.request().url()).hostname;
    if (host === '127.0.0.1') return route.continue();
    outside.push(route.request().url());
    return route.abort();
  });

  // The gallery.
  await page.goto(`${demoUrl}index.html`);
  await check('gallery: every picture decodes at its stated size', async () => {
    const count = await checkImages(page, (src) => imageSize(readFileSync(path.join(demoDir, src))));
    expect(count >= 60, `only ${count} pictures`);
  });
  await check('gallery: every smooth picture stands beside its aliased one with a map of its own', async () => {
    const smoothFiles = readdirSync(demoDir).filter((f) => f.endsWith('_smooth.png'));
    const pairs = await page.$$eval('.pair', (all) => all.map((pair) => [...pair.querySelectorAll('img')]
      .map((img) => {
        const map = img.useMap ? document.querySelector(`map[name="${img.useMap.slice(1)}"]`) : null;
        return { src: img.getAttribute('src'), caption: img.previousElementSibling?.textContent,
          map: img.useMap, areas: map && [...map.areas].map((a) => `${a.shape} ${a.coords} ${a.getAttribute('href')}`) };
      })));
    expect(smoothFiles.length >= 30 && pairs.length === smoothFiles.length,
      `${pairs.length} pairs shown for ${smoothFiles.length} smooth pictures`);
    for (const [aliased, smooth, ...more] of pairs) {
      expect(more.length === 0 && smooth && smooth.src === aliased.src.replace(/\.png$/, '_smooth.png'),
        `${aliased.src} is paired with ${smooth && smooth.src}`);
      expect(aliased.caption === 'aliased' && smooth.caption === 'smooth', `${smooth.src} captions`);
      // Smooth drawing moves nothing: the same areas, texts' boxes included.
      expect(`${smooth.areas}` === `${aliased.areas}` && (!aliased.map || smooth.map !== aliased.map),
        `${smooth.src}: map ${smooth.map} of ${smooth.areas && smooth.areas.length} areas against ` +
        `${aliased.map} of ${aliased.areas && aliased.areas.length}`);
    }
  });
  await check('gallery: every area is in its map with alt, title and a detail link',
    () => checkMaps(page, 'detail.html?'));
  await check('gallery: the bar, line and pie pages hold well-formed maps too', async () => {
    for (const name of ['bars.html', 'lines.html', 'pies.html']) {
      await page.goto(`${demoUrl}${name}`);
      await checkMaps(page, 'detail.html?');
    }
    await page.goto(`${demoUrl}index.html`);
  });
  await check('gallery: each chart shows the C++ that drew it', async () => {
    const code = await page.$$eval('figure', (all) => all.filter((f) => f.querySelector('img[src="bars_side.png"]'))
      .map((f) => f.querySelector('pre').textContent));
    expect(code.length === 1 && code[0].includes('addBarLayer2(Layer::Side, 0)'), 'no bars_side snippet');
  });
  // Expected values come from the examples' data: kNorth[0] = 42; the gap
  // line's point 1 is 42; pie values 25 18 15 12 8 30 22 sum to 130, so
  // 25 is 19.23% and R&D's 30 is 23.08%.
  const galleryClicks = [
    ['a bar', 'bars_side.png', "area.title === 'North, Jan: 42'",
      { chart: 'bars_side', x: '0', xLabel: 'Jan', dataSet: '0', dataSetName: 'North', value: '42' }],
    ['a smooth bar', 'bars_side_smooth.png', "area.title === 'South, Feb: 38'",
      { chart: 'bars_side', x: '1', xLabel: 'Feb', dataSet: '1', dataSetName: 'South', value: '38' }],
    ['a line point', 'lines_gap_labels.png', "area.title === 'Visits, Tue: 42'",
      { chart: 'lines_gap_labels', x: '1', dataSet: '0', value: '42' }],
    ['a pie sector', 'pie_flat.png', "area.shape === 'poly' && area.title.startsWith('Labor')",
      { chart: 'pie_flat', sector: '0', label: 'Labor', value: '25', percent: '19.23' }],
    ['a sector label', 'pie_flat.png', "area.shape === 'rect' && area.title.startsWith('R&D')",
      { chart: 'pie_flat', sector: '5', label: 'R&D', value: '30', percent: '23.08' }],
    ['a legend key', 'bars_side.png', "area.title === 'Legend: South'",
      { chart: 'bars_side', legend: '1', dataSet: '1', dataSetName: 'South' }],
  ];
  for (const [what, src, pick, expected] of galleryClicks) {
    await check(`gallery: clicking ${what} opens its details`, async () => {
      await page.goto(`${demoUrl}index.html`);
      const { query } = await clickArea(page, src, pick, expected);
      const rows = await page.$$eval('#fields tr', (all) => all.map((r) => [r.cells[0].textContent, r.cells[1].textContent]));
      expect(JSON.stringify(rows) === JSON.stringify([...query]), `the table shows ${JSON.stringify(rows)}`);
    });
  }

  // The web app: four charts of 480 x 300 with 3 data sets.
  const dashboard = `${appUrl}?width=480&height=300&sets=3`;
  await page.goto(dashboard);
  await check('web app: every chart decodes at its stated size', async () => {
    const count = await checkImages(page, async (src) => {
      const body = await (await fetch(new URL(src, appUrl))).arrayBuffer();
      return imageSize(Buffer.from(body));
    });
    expect(count === 4, `${count} charts, not 4`);
  });
  await check('web app: every area is in its map with alt, title and a detail link',
    () => checkMaps(page, '/detail?'));
  await check('web app: smooth by default, aliased with smooth=0', async () => {
    const chart = `${appUrl}chart.png?kind=line&width=480&height=300&sets=3`;
    const [byDefault, smooth, aliased] = await Promise.all(['', '&smooth=1', '&smooth=0'].map(
      async (q) => Buffer.from(await (await fetch(chart + q)).arrayBuffer())));
    for (const png of [byDefault, smooth, aliased]) expect(`${imageSize(png)}` === '480,300', `size ${imageSize(png)}`);
    expect(byDefault.equals(smooth), 'the default is not the smooth drawing');
    expect(!aliased.equals(smooth), 'smooth=0 draws the same picture');
    await page.goto(`${dashboard}&smooth=0`);
    const sources = await page.$$eval('img', (all) => all.map((img) => img.getAttribute('src')));
    expect(sources.length === 4 && sources.every((src) => src.endsWith('&smooth=0')), `pictures ${sources}`);
    await checkImages(page, async (src) => imageSize(Buffer.from(await (await fetch(new URL(src, appUrl))).arrayBuffer())));
    await checkMaps(page, '/detail?');
  });
  // Data set s at point i is 20 + 8s + 12 sin(0.8i + s), to one decimal:
  // set 1 at Mar (i = 2) is 28 + 12 sin 2.6 = 34.2; set 0 at Jan is 20.
  const wave = (s, i) => Math.round(10 * (20 + 8 * s + 12 * Math.sin(0.8 * i + s))) / 10;
  const totals = [0, 1, 2].map((s) => [...Array(8).keys()].reduce((sum, i) => sum + wave(s, i), 0));
  const share = (s) => (100 * totals[s] / (totals[0] + totals[1] + totals[2])).toFixed(2);
  const appClicks = [
    ['a bar', 'bar', "area.title === 'South, Mar: 34.2'", { kind: 'bar', x: '2', dataSet: '1', value: '34.2' }, 'South, Mar'],
    ['a line point', 'line', "area.title === 'North, Jan: 20'", { kind: 'line', x: '0', dataSet: '0', value: '20' }, 'North, Jan'],
    ['a pie sector', 'pie', "area.shape === 'poly' && area.alt === 'East'",
      { kind: 'pie', sector: '2', percent: share(2) }, 'Sector East'],
    ['a sector label', 'pie', "area.shape === 'rect' && area.alt === 'North'",
      { kind: 'pie', sector: '0', percent: share(0) }, 'Sector North'],
    ['a legend key', 'area', "area.title === 'Legend: East'",
      { kind: 'area', legend: '1', dataSet: '2', dataSetName: 'East' }, 'Data set East'],
  ];
  for (const [what, kind, pick, expected, heading] of appClicks) {
    await check(`web app: clicking ${what} opens its drill-down page`, async () => {
      await page.goto(dashboard);
      await clickArea(page, `/chart.png?kind=${kind}&width=480&height=300&sets=3`, pick, expected);
      expect((await page.textContent('h1')) === heading, `heading ${await page.textContent('h1')}`);
    });
  }
  await check('web app: bad parameters get a 400 page, never a traceback', async () => {
    for (const query of ['?kind=donut', '?width=199', '?height=701', '?sets=0', '?sets=two', '?width=1e3',
      '?width=%FF', '?sets=1&sets=2', '?color=red', '?smooth=2', '?smooth=yes', '?smooth=']) {
      for (const route of ['', 'chart.png']) {
        const response = await fetch(`${appUrl}${route}${query}`);
        const body = await response.text();
        expect(response.status === 400 && !body.includes('Traceback'), `${route}${query}: ${response.status}`);
      }
    }
    for (const query of ['?kind=bar&sets=3&x=8&dataSet=0', '?kind=pie&sets=2&sector=2', '?kind=line&sets=3']) {
      const response = await fetch(`${appUrl}detail${query}`);
      expect(response.status === 400, `detail${query}: ${response.status}`);
    }
  });
  await check('no request left 127.0.0.1', () => expect(outside.length === 0, outside.join(' ')));

  await browser.close();
}

try {
  await main();
} catch (e) {
  failed++;
  console.log(`FAIL - the checks stopped: ${e.message.split('\n')[0]}`);
} finally {
  stopAll();
  clearTimeout(deadline);
}
console.log(`browser checks: ${passed} passed, ${failed} failed`);
process.exit(failed === 0 ? 0 : 1);
