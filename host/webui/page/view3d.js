// The 3D view: the open project's geometry, fetched once per project as one binary buffer
// (api/geometry), drawn with three.js. Every later change (an element's level, the rows marked
// in the palette, the host's selection) comes with the host's state; the view only draws.
"use strict";

const view3d = (() => {
  const node = document.getElementById("view3d-window");
  const canvasBox = node.querySelector(".view3d-canvas");
  const line = node.querySelector(".view3d-line");
  const legend = node.querySelector(".view3d-legend");
  const info = node.querySelector(".view3d-info");
  const storyList = node.querySelector(".view3d-stories");
  const colouring = node.querySelector(".view3d-colour");
  const three = typeof THREE !== "undefined" && THREE.OrbitControls ? THREE : null;

  let open = true;
  let shownName = null;   // the geometry drawn or being read
  let model = null;       // what was read: meshes, parts, instances, info
  let lastView = null;    // the host's view state last applied
  let drawPending = false;
  const hiddenStories = new Set();
  let renderer, scene, camera, controls;

  function setLine(text) { line.textContent = text; line.hidden = !text; }

  function setUp() {
    if (renderer || !three) return;
    renderer = new three.WebGLRenderer({ antialias: false, preserveDrawingBuffer: true });
    renderer.setPixelRatio(1);
    renderer.setClearColor(0xf2f4f7);
    canvasBox.append(renderer.domElement);
    scene = new three.Scene();
    scene.add(new three.HemisphereLight(0xffffff, 0x666666, 0.85));
    const sun = new three.DirectionalLight(0xffffff, 0.45);
    sun.position.set(0.4, -0.6, 1);
    scene.add(sun);
    camera = new three.PerspectiveCamera(45, 1, 0.1, 10000);
    camera.up.set(0, 0, 1); // buildings stand on z
    camera.position.set(30, -30, 20);
    controls = new three.OrbitControls(camera, renderer.domElement);
    controls.addEventListener("change", draw);
    let down = null;
    renderer.domElement.addEventListener("pointerdown", (event) => { down = { x: event.clientX, y: event.clientY }; });
    renderer.domElement.addEventListener("click", (event) => {
      if (!down || Math.abs(event.clientX - down.x) + Math.abs(event.clientY - down.y) > 4) return;
      clicked(event);
    });
  }

  // ---- Reading the buffer ------------------------------------------------------------------

  function parse(buffer) {
    const data = new DataView(buffer);
    const blockBytes = data.getUint32(0, true);
    const magic = new TextDecoder().decode(new Uint8Array(buffer, 4, 8));
    if (magic !== "FTGEOM01" || 4 + blockBytes > buffer.byteLength) throw new Error("the geometry cannot be read");
    let at = 12;
    const next = () => { const value = data.getUint32(at, true); at += 4; return value; };
    const [meshCount, partCount, instanceCount, vertexCount, indexCount] = [next(), next(), next(), next(), next()];
    next();
    const meshes = [];
    for (let i = 0; i < meshCount; i++) meshes.push({ firstVertex: next(), vertexCount: next(), firstIndex: next(), indexCount: next() });
    const parts = [];
    for (let i = 0; i < partCount; i++) {
      parts.push({ detailed: data.getInt32(at, true), simple: data.getInt32(at + 4, true) });
      at += 8;
    }
    const instances = [];
    for (let i = 0; i < instanceCount; i++) {
      const part = data.getInt32(at + 8, true), own = data.getInt32(at + 12, true);
      const t = new Float32Array(buffer.slice(at + 16, at + 64));
      instances.push({ part, own, matrix: new three.Matrix4().set(t[0], t[1], t[2], t[3], t[4], t[5], t[6], t[7], t[8], t[9], t[10], t[11], 0, 0, 0, 1) });
      at += 64;
    }
    const positions = new Float32Array(buffer, at, vertexCount * 3);
    at += vertexCount * 12;
    const indices = new Uint32Array(buffer, at, indexCount);
    const described = JSON.parse(new TextDecoder().decode(new Uint8Array(buffer, 4 + blockBytes)));
    return { meshes, parts, instances, positions, indices, described, geometries: new Map(), objects: [] };
  }

  function geometryOf(mesh) {
    if (mesh < 0) return null;
    let geometry = model.geometries.get(mesh);
    if (geometry) return geometry;
    const range = model.meshes[mesh];
    geometry = new three.BufferGeometry();
    geometry.setAttribute("position", new three.BufferAttribute(model.positions.subarray(range.firstVertex * 3, (range.firstVertex + range.vertexCount) * 3), 3));
    geometry.setIndex(new three.BufferAttribute(model.indices.subarray(range.firstIndex, range.firstIndex + range.indexCount), 1));
    geometry.computeVertexNormals();
    geometry.computeBoundingSphere();
    model.geometries.set(mesh, geometry);
    return geometry;
  }

  function meshAt(instance, level) {
    if (instance.part <= 0) return instance.own;
    const part = model.parts[instance.part - 1];
    return level === "O" ? -1 : level === "S" ? part.simple : part.detailed;
  }

  async function load(name) {
    shownName = name;
    model = null;
    lastView = null;
    clearScene();
    setLine("Reading the geometry…");
    const started = performance.now();
    const response = await fetch("api/geometry");
    if (!response.ok) throw new Error("the host sent no geometry (" + response.status + ")");
    const read = parse(await response.arrayBuffer());
    if (shownName !== name) return;
    const empty = new three.BufferGeometry();
    // Built in slices, so the page answers while a large building arrives.
    for (let i = 0; i < read.instances.length; i++) {
      const object = new three.Mesh(empty, null);
      object.matrixAutoUpdate = false;
      object.matrix.copy(read.instances[i].matrix);
      object.userData = { number: i, level: null };
      read.objects.push(object);
      if (i % 500 === 499) {
        setLine(`Reading the geometry… ${i + 1} of ${read.instances.length} elements`);
        await new Promise((resolve) => setTimeout(resolve, 0));
        if (shownName !== name) return;
      }
    }
    model = read;
    for (const object of model.objects) scene.add(object);
    renderStories();
    setLine("");
    if (pendingView) apply(pendingView);
    fit();
    model.loadSeconds = (performance.now() - started) / 1000;
  }

  function clearScene() {
    if (!scene) return;
    for (const object of scene.children.filter((child) => child.isMesh)) scene.remove(object);
    storyList.replaceChildren();
    info.hidden = true;
  }

  // ---- Colours -------------------------------------------------------------------------------

  const materials = new Map();
  function material(colour, dimmed) {
    const key = colour + (dimmed ? "d" : "");
    if (!materials.has(key)) {
      materials.set(key, new three.MeshLambertMaterial({
        color: colour, side: three.DoubleSide, transparent: dimmed, opacity: dimmed ? 0.12 : 1, depthWrite: !dimmed,
      }));
    }
    return materials.get(key);
  }

  function polygonsOf(i) {
    const element = model.described.elements[i];
    const instance = model.instances[i];
    if (instance.part <= 0) return element.polygons;
    const level = "DSO".indexOf(lastView.levels[i]);
    return model.described.parts[instance.part - 1].polygons[Math.max(0, level)];
  }

  const typeColours = ["#c8b28a", "#8aa7c8", "#c88a8a", "#8ac89a", "#b58ac8", "#c8c08a", "#8ac8c4", "#a0a0a0"];
  function weightColour(polygons, most) {
    const share = most > 0 ? Math.log10(polygons + 1) / Math.log10(most + 1) : 0;
    const step = Math.round(share * 24) / 24; // a few shades, so materials are shared
    return new three.Color().setHSL((1 - step) * 0.66, 0.75, 0.5).getStyle();
  }

  function colourOf(i, most) {
    if (colouring.value === "plain") return "#c9ccd1";
    if (colouring.value === "type") {
      const type = model.described.elements[i].type;
      let hash = 0;
      for (const c of type) hash = (hash * 31 + c.charCodeAt(0)) >>> 0;
      return typeColours[hash % typeColours.length];
    }
    return weightColour(polygonsOf(i), most);
  }

  function renderLegend(most) {
    legend.replaceChildren();
    legend.hidden = colouring.value !== "weight";
    if (legend.hidden) return;
    legend.append(element("span", "legend-title", "Polygons"));
    for (let n = 1, shown = 0; shown < 6; n *= 10, shown++) {
      const value = n >= most ? most : n;
      const swatch = element("span", "legend-step", value.toLocaleString("en-US"));
      swatch.style.background = weightColour(value, most);
      legend.append(swatch);
      if (value === most) break;
    }
  }

  // ---- The host's state ----------------------------------------------------------------------

  let pendingView = null;
  function apply(state) {
    pendingView = state;
    if (!model) return;
    lastView = state;
    const marked = new Set(state.marked);
    const selected = new Set(state.selected);
    let most = 0;
    for (let i = 0; i < model.objects.length; i++) most = Math.max(most, polygonsOf(i));
    for (let i = 0; i < model.objects.length; i++) {
      const object = model.objects[i];
      const level = state.levels[i];
      if (object.userData.level !== level) {
        const geometry = geometryOf(meshAt(model.instances[i], level));
        object.geometry = geometry || new three.BufferGeometry();
        object.userData.level = level;
        object.userData.empty = !geometry;
      }
      const story = model.described.elements[i].story;
      object.visible = !object.userData.empty && !hiddenStories.has(story);
      object.userData.lit = marked.has(i);
      object.userData.selected = selected.has(i);
      const colour = selected.has(i) ? "#ff8c00" : colourOf(i, most);
      object.material = material(colour, marked.size > 0 && !marked.has(i) && !selected.has(i));
    }
    renderLegend(most);
    draw();
  }

  function draw() {
    if (drawPending || !renderer) return;
    drawPending = true;
    requestAnimationFrame(() => {
      drawPending = false;
      renderer.render(scene, camera);
      drawn += 1;
    });
  }
  let drawn = 0;

  // ---- Looking around ------------------------------------------------------------------------

  function visibleBox() {
    const box = new three.Box3();
    if (!model) return box;
    for (const object of model.objects) {
      if (!object.visible) continue;
      if (!object.geometry.boundingBox) object.geometry.computeBoundingBox();
      box.union(object.geometry.boundingBox.clone().applyMatrix4(object.matrix));
    }
    return box;
  }

  // Looks at everything shown from the direction given (or the present one).
  function fit(direction) {
    const box = visibleBox();
    if (box.isEmpty()) return draw();
    const centre = box.getCenter(new three.Vector3());
    const radius = box.getSize(new three.Vector3()).length() / 2;
    const from = direction ? direction.clone().normalize() : camera.position.clone().sub(controls.target).normalize();
    const distance = radius / Math.sin((camera.fov * Math.PI) / 360) * 1.05;
    controls.target.copy(centre);
    camera.position.copy(centre).addScaledVector(from, distance);
    camera.near = Math.max(0.01, distance / 1000);
    camera.far = distance * 10;
    camera.updateProjectionMatrix();
    controls.update();
    draw();
  }

  const directions = {
    top: [0, -0.001, 1], front: [0, -1, 0.05], back: [0, 1, 0.05], left: [-1, 0, 0.05], right: [1, 0, 0.05],
  };
  node.querySelectorAll("[data-view]").forEach((button) => button.addEventListener("click", () => {
    const named = directions[button.dataset.view];
    fit(named ? new three.Vector3(...named) : null);
  }));
  colouring.addEventListener("change", () => lastView && apply(lastView));

  function renderStories() {
    storyList.replaceChildren();
    for (const story of model.described.stories) {
      const label = element("label");
      const box = element("input");
      box.type = "checkbox";
      box.checked = !hiddenStories.has(story.number);
      box.dataset.story = story.number;
      box.addEventListener("change", () => {
        if (box.checked) hiddenStories.delete(story.number); else hiddenStories.add(story.number);
        if (lastView) apply(lastView);
      });
      label.append(box, " " + (story.name || "Story " + story.number));
      storyList.append(label);
    }
  }

  // ---- Clicks ----------------------------------------------------------------------------------

  function pick(x, y) {
    const rect = renderer.domElement.getBoundingClientRect();
    const pointer = new three.Vector2(((x - rect.left) / rect.width) * 2 - 1, -((y - rect.top) / rect.height) * 2 + 1);
    const ray = new three.Raycaster();
    ray.setFromCamera(pointer, camera);
    const hits = ray.intersectObjects(model.objects.filter((object) => object.visible && !object.material.transparent), false);
    return hits.length > 0 ? hits[0].object.userData.number : -1;
  }

  function clicked(event) {
    if (!model) return;
    const number = pick(event.clientX, event.clientY);
    if (number < 0) { info.hidden = true; return; }
    const element = model.described.elements[number];
    const story = model.described.stories.find((s) => s.number === element.story);
    info.textContent = `${element.type} ${element.id}: ${element.name || "(no name)"} · story ${story ? story.name || story.number : element.story} · ${polygonsOf(number).toLocaleString("en-US")} polygons`;
    info.hidden = false;
    if (event.ctrlKey || event.metaKey) send({ do: "select-element", element: element.id });
  }

  // ---- The window ----------------------------------------------------------------------------

  // Beside the add-ons' windows, in what the desk has left.
  function layOut() {
    const desk = document.getElementById("desk").getBoundingClientRect();
    let left = 12;
    document.querySelectorAll("#windows .window").forEach((window) => {
      left = Math.max(left, window.getBoundingClientRect().right - desk.left + 12);
    });
    left = Math.min(left, Math.max(12, desk.width - 280));
    node.style.left = left + "px";
    node.style.width = Math.max(120, desk.width - left - 12) + "px";
    if (renderer) {
      const width = canvasBox.clientWidth, height = canvasBox.clientHeight;
      if (width > 0 && height > 0) {
        renderer.setSize(width, height);
        camera.aspect = width / height;
        camera.updateProjectionMatrix();
        draw();
      }
    }
  }
  window.addEventListener("resize", layOut);
  node.querySelector(".close-box").addEventListener("click", () => show(false));
  document.getElementById("view3d-menu-item").addEventListener("click", () => show(!open));

  function show(wanted) {
    open = wanted;
    node.hidden = !open;
    document.getElementById("view3d-menu-item").classList.toggle("checked", open);
    layOut();
  }

  // Called with every state the host pushes.
  function render(state) {
    const view = state.view3d;
    if (!view || view.geometry === null) {
      shownName = null;
      model = null;
      clearScene();
      legend.hidden = true;
      setLine(view ? "This project has no 3D geometry; projects read from IFC files have it" : "No project is open");
      if (renderer) renderer.domElement.hidden = true;
      layOut();
      return;
    }
    if (!three) return setLine("The 3D view needs three.js (Debian's libjs-three), which the host could not serve");
    setUp();
    renderer.domElement.hidden = false;
    if (view.geometry !== shownName) {
      show(true); // a project with geometry opens the view
      load(view.geometry).catch((error) => setLine("The geometry could not be shown: " + error.message));
    }
    layOut();
    apply(view);
  }

  // For tests: what the scene holds, read without a picture.
  window.facetally3d = {
    ready: () => model !== null && lastView !== null && drawn > 0,
    loadSeconds: () => model && model.loadSeconds,
    elementCount: () => (model ? model.objects.length : 0),
    elementId: (i) => model.described.elements[i].id,
    triangles: (i) => {
      const object = model.objects[i];
      return object.visible && object.geometry.index ? object.geometry.index.count / 3 : 0;
    },
    triangleCount: () => model.objects.reduce((sum, _, i) => sum + window.facetally3d.triangles(i), 0),
    lit: () => model.objects.filter((object) => object.userData.lit).map((object) => object.userData.number),
    selected: () => model.objects.filter((object) => object.userData.selected).map((object) => object.userData.number),
    // The element's centre on the page, in client pixels.
    centre: (i) => {
      const object = model.objects[i];
      if (!object.geometry.boundingBox) object.geometry.computeBoundingBox();
      const point = object.geometry.boundingBox.getCenter(new three.Vector3()).applyMatrix4(object.matrix).project(camera);
      const rect = renderer.domElement.getBoundingClientRect();
      return { x: rect.left + ((point.x + 1) / 2) * rect.width, y: rect.top + ((1 - point.y) / 2) * rect.height };
    },
    pick: (x, y) => pick(x, y),
    show: (view) => fit(directions[view] ? new three.Vector3(...directions[view]) : null),
  };

  return { render };
})();
