// Browser checks of the demo gallery (build/demo, served over 127.0.0.1) and
// the web app example (started on a free port of 127.0.0.1), in the system's
// headless Chromium: every picture decodes at its stated size, the maps are
// well formed, every smooth picture stands beside its aliased one with a map
// of its own, and hovering and clicking a bar, a line point, a pie sector, a
// sector label and a legend key lands on the detail page with the item's
// query; the web app draws smooth unless asked for smooth=0. Then the Flask
// dashboard under gunicorn (flask.mjs). Requests to any host but 127.0.0.1
// are refused. Ends with the line "browser checks: N passed, N failed".
// Usage: node run.mjs DEMO_DIR WEBAPP_SCRIPT FLASK_DIR (QUORVANE_LIBRARY names the library).
import { readdirSync, readFileSync } from 'node:fs';
import path from 'node:path';
import { chromium } from 'playwright-core';
import { flaskChecks } from './flask.mjs';
import { check, checkImages, checkMaps, clickArea, expect, imageSize, startServer, stopAll, tally } from './lib.mjs';

const [demoDir, appScript, flaskDir] = process.argv.slice(2);
const chromiumPath = process.env.CHROMIUM || '/usr/bin/chromium';

// The whole run is bounded; a hang fails the stage instead of stalling it.
const deadline = setTimeout(() => {
  console.log('FAIL - the checks did not finish within 150 s');
  console.log(`browser checks: ${tally.passed} passed, ${tally.failed + 1} failed`);
  stopAll();
  process.exit(1);
}, 150_000);

async function main() {
  const demoUrl = await startServer('python3', ['-u', '-m', 'http.server', '0', '--bind', '127.0.0.1', '--directory', demoDir],
    /Serving HTTP on \S+ port (\d+)/).then(({ address }) => `http://127.0.0.1:${address}/`);
  const appUrl = (await startServer('python3', ['-u', appScript, '--port', '0', '--quiet'], /serving on (\S+)/)).address;

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
  await page.close();

  await flaskChecks(browser, flaskDir);
  await browser.close();
}

try {
  await main();
} catch (e) {
  tally.failed++;
  console.log(`FAIL - the checks stopped: ${e.message.split('\n')[0]}`);
} finally {
  stopAll();
  clearTimeout(deadline);
}
console.log(`browser checks: ${tally.passed} passed, ${tally.failed} failed`);
process.exit(tally.failed === 0 ? 0 : 1);
